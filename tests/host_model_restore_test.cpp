// Objects created and linked into a model the way the export's pre-processing
// does, then deleted: the model must be exactly as before.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "orx/ORXBridgeLib.h"
#include "orx/ORXModel.h"

namespace {

std::string ref(const ORXObject* object) {
    if (!object)
        return "-";
    return std::string(getElementTypeName(object->getElementType())) + ":" +
           object->getName().str();
}

template <class Get>
std::string list(int count, Get get) {
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ",";
        out += ref(get(i));
    }
    return out + "]";
}

// Writes one line per owned object: its type, name and every link list the
// model keeps about it, indented by ownership depth.
class Describer : public ORXTraversalOperation {
  public:
    bool visit(ORXObject* object, void*) override {
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << ref(object);
        details(object);
        out << "\n";
        ++depth;
        return true;
    }
    void leave(ORXObject*, void*) override { --depth; }
    std::ostringstream out;

  private:
    void details(ORXObject* object) {
        if (auto* e = dynamic_cast<ORXElement*>(object)) {
            out << " phys=" << e->getPhysicalName().str() << " level=" << e->getLevelCode()
                << " notes=" << e->getNoteCount();
        }
        if (auto* m = dynamic_cast<ORXModelObject*>(object)) {
            out << " owner=" << ref(m->getOwner()) << " owned="
                << list(m->getOwnedObjectCount(), [m](int i) { return m->getOwnedObject(i); })
                << " pkg=" << ref(m->getDesignPackage()) << " diagrams="
                << list(m->getDiagramCount(), [m](int i) { return m->getDiagram(i); })
                << " shownBy=" << m->getPresentationPresentationElementCount()
                << " ops=" << m->getLinkingOperationCount();
        }
        if (auto* p = dynamic_cast<ORXDesignPackage*>(object)) {
            out << " elements="
                << list(p->getModelElementCount(), [p](int i) { return p->getModelElement(i); });
        }
        if (auto* d = dynamic_cast<ORXDiagram*>(object)) {
            out << " members=" << list(d->getMemberCount(), [d](int i) { return d->getMember(i); })
                << " symbols=" << list(d->getPresentationElementCount(), [d](int i) {
                       return d->getPresentationElement(i)->getSubjectModelObject();
                   });
        }
        if (auto* pe = dynamic_cast<ORXPresentationElement*>(object)) {
            out << " diagram=" << ref(pe->getDiagram())
                << " subject=" << ref(pe->getSubjectModelObject()) << " at=" << pe->getX() << ","
                << pe->getY();
        }
        if (auto* c = dynamic_cast<ORXClass*>(object)) {
            out << " attrs="
                << list(c->getAttributeCount(), [c](int i) { return c->getAttribute(i); })
                << " keys=" << list(c->getKeyCount(), [c](int i) { return c->getKey(i); })
                << " indexes=" << list(c->getIndexCount(), [c](int i) { return c->getIndex(i); })
                << " roles="
                << list(c->getAssociationRoleCount(),
                        [c](int i) { return c->getAssociationRole(i); })
                << " gens="
                << list(c->getGeneralizationCount(), [c](int i) { return c->getGeneralization(i); })
                << " pk=" << ref(c->getPrimaryKey());
        }
        if (auto* a = dynamic_cast<ORXAttribute*>(object)) {
            out << " class=" << ref(a->getAssociatedClass()) << " type=" << ref(a->getType())
                << " keys=" << list(a->getKeyCount(), [a](int i) { return a->getKey(i); })
                << " members=" << a->getIndexMemberCount()
                << " mapSource=" << a->getSourceOfAssociationRoleNameMapCount()
                << " mapDestination=" << a->getDestinationOfAssociationRoleNameMapCount()
                << " derived=" << a->getDerivedViewAttributeCount();
        }
        if (auto* k = dynamic_cast<ORXKey*>(object)) {
            out << " class=" << ref(k->getAssociatedClass()) << " attrs="
                << list(k->getAttributeCount(), [k](int i) { return k->getAttribute(i); })
                << " index=" << ref(k->getIndex()) << " ordering=" << ref(k->getOrderingIndex());
        }
        if (auto* ck = dynamic_cast<ORXCandidateKey*>(object)) {
            out << " referencedBy=" << list(ck->getReferencingForeignKeyCount(), [ck](int i) {
                return ck->getReferencingForeignKey(i);
            });
        }
        if (auto* fk = dynamic_cast<ORXForeignKey*>(object)) {
            const ORXAssociationRole* role = fk->getAssociationRole();
            out << " references=" << ref(fk->getCandidateKey()) << " role=" << ref(role)
                << " roleOf=" << ref(role ? role->getAssociation() : nullptr)
                << " maps=" << fk->getAssociationRoleNameMapCount()
                << " gens=" << fk->getGeneralizationCount();
        }
        if (auto* x = dynamic_cast<ORXIndex*>(object)) {
            out << " class=" << ref(x->getAssociatedClass()) << " key=" << ref(x->getKey());
        }
        if (auto* im = dynamic_cast<ORXIndexMember*>(object)) {
            out << " attr=" << ref(im->getAttribute()) << " pos=" << im->getPosition();
        }
        if (auto* r = dynamic_cast<ORXAssociationRole*>(object)) {
            out << " class=" << ref(r->getAssociatedClass()) << " fk=" << ref(r->getForeignKey())
                << " mult=" << r->getMultiplicity().str() << " source=" << r->isSource();
        }
        if (auto* g = dynamic_cast<ORXGeneralization*>(object)) {
            out << " super=" << ref(g->getSupertypeClass(0)) << " subs="
                << list(g->getSubtypeClassCount(), [g](int i) { return g->getSubtypeClass(i); })
                << " fks="
                << list(g->getForeignKeyCount(), [g](int i) { return g->getForeignKey(i); });
        }
        if (auto* v = dynamic_cast<ORXSQLViewAttribute*>(object)) {
            out << " source=" << ref(v->getSourceFeature());
        }
    }
    int depth = 0;
};

std::string describe(ORXModel* model) {
    Describer describer;
    model->depthTraversal(&describer, nullptr);
    return describer.out.str();
}

template <class T>
T* named(T* object, const char* name, const char* physicalName = "") {
    object->setName(name);
    if (auto* element = dynamic_cast<ORXElement*>(object))
        element->setPhysicalName(physicalName);
    return object;
}

// A sales model: ORDER and PRODUCT with a many-to-many association, VEHICLE
// and its subtype CAR with a foreign key already implementing a reference, a
// reference whose child table lies in another package, a view and a diagram.
struct SalesModel {
    std::unique_ptr<ORXModel> model = std::make_unique<ORXModel>();
    ORXDesignPackage* main = named(new ORXDesignPackage(), "Main");
    ORXDesignPackage* other = named(new ORXDesignPackage(), "Other");
    ORXDerivedType* idType = named(new ORXDerivedType(), "Id");
    ORXClass* order = named(new ORXClass(), "ORDER", "ORDERS");
    ORXClass* product = named(new ORXClass(), "PRODUCT", "PRODUCTS");
    ORXClass* vehicle = named(new ORXClass(), "VEHICLE");
    ORXClass* car = named(new ORXClass(), "CAR");
    ORXClass* customer = named(new ORXClass(), "CUSTOMER");
    ORXAssociation* orderProduct = named(new ORXAssociation(), "ORDER_PRODUCT_LINK");
    ORXAssociation* vehicleCar = named(new ORXAssociation(), "VEHICLE_CAR");
    ORXAssociation* customerOrder = named(new ORXAssociation(), "CUSTOMER_ORDER");
    ORXGeneralization* kind = named(new ORXGeneralization(), "KIND");
    ORXSQLViewEntity* view = named(new ORXSQLViewEntity(), "ORDER_VIEW");
    ORXDiagram* diagram = named(new ORXDiagram(), "Overview");
    ORXForeignKey* carKey = nullptr;
    ORXAssociationRole* carRole = nullptr;

    SalesModel() {
        model->setName("Sales");
        model->addType(idType);
        model->addChildPackage(main);
        model->addChildPackage(other);
        main->addOwnedDiagram(diagram);
        for (ORXModelObject* element :
             std::vector<ORXModelObject*>{order, customerOrder, product, orderProduct, vehicle, car,
                                          kind, vehicleCar, view}) {
            EXPECT_TRUE(element->addDesignPackage(main)) << ref(element);
        }
        EXPECT_TRUE(customer->addDesignPackage(other));

        ORXCandidateKey* orderKey = keyed(order, "ORDER_PK", "ID");
        attribute(order, "DATE");
        auto* orderIndex = named(new ORXIndex(), "ORDER_PK_IX");
        orderIndex->addAssociatedClass(order);
        orderIndex->addKey(orderKey);
        new ORXIndexMember(orderIndex, order->getAttribute(0), 0);
        orderKey->setOrderingIndex(orderIndex);
        keyed(product, "PRODUCT_PK", "ID");
        attribute(product, "NAME");
        ORXCandidateKey* vehicleKey = keyed(vehicle, "VEHICLE_PK", "ID");
        keyed(car, "CAR_PK", "ID");
        carKey = named(new ORXForeignKey(), "CAR_FK");
        carKey->addAssociatedClass(car);
        carKey->addAttribute(car->getAttribute(0));
        carKey->addCandidateKey(vehicleKey);
        keyed(customer, "CUSTOMER_PK", "ID");

        role(orderProduct, order, true, "0..*");
        role(orderProduct, product, false, "0..*");
        role(vehicleCar, vehicle, true, "1");
        carRole = role(vehicleCar, car, false, "0..1");
        EXPECT_TRUE(carKey->addAssociationRole(carRole));
        role(customerOrder, order, true, "1");
        role(customerOrder, customer, false, "0..*");

        kind->setSupertypeClass(vehicle);
        kind->addSubtypeClass(car);
        kind->addForeignKey(carKey);
        kind->setDescription("kinds of vehicle");
        kind->addNote(new ORXNote("a note"));

        auto* column = named(new ORXSQLViewAttribute(), "ORDER_ID");
        column->addAssociatedView(view);
        column->setSourceFeature(order->getAttribute(0));

        for (ORXModelObject* member : std::vector<ORXModelObject*>{
                 order, product, orderProduct, vehicle, car, kind, view, customerOrder}) {
            EXPECT_TRUE(member->addDiagram(diagram));
        }
        symbol(order, 100, 100);
        symbol(product, 300, 100);
        symbol(orderProduct, 200, 100);
    }

    ORXAttribute* attribute(ORXClass* cls, const char* name) {
        auto* a = named(new ORXAttribute(), name, name);
        a->setType(idType);
        EXPECT_TRUE(a->addAssociatedClass(cls));
        return a;
    }
    ORXCandidateKey* keyed(ORXClass* cls, const char* keyName, const char* column) {
        ORXAttribute* a = attribute(cls, column);
        auto* key = named(new ORXCandidateKey(), keyName);
        key->addAssociatedClass(cls);
        key->addAttribute(a);
        key->addPrimaryOfClass(cls);
        return key;
    }
    ORXAssociationRole* role(ORXAssociation* association, ORXClass* cls, bool source,
                             const char* multiplicity) {
        auto* r = named(new ORXAssociationRole(association),
                        (association->getName().str() + "@" + cls->getName().str()).c_str());
        r->setSource(source);
        r->setMultiplicity(multiplicity);
        r->addAssociatedClass(cls);
        return r;
    }
    void symbol(ORXModelObject* subject, int x, int y) {
        auto* pe = new ORXPresentationElement();
        pe->setGeometry(x, y, 80, 40);
        pe->addDiagram(diagram);
        pe->addSubjectModelObject(subject);
    }
};

ORXProjection* project(std::vector<ORXObject*>& created, ORXModelObject* subject,
                       ORXDiagram* diagram) {
    auto* projection = new ORXProjection();
    created.push_back(projection);
    EXPECT_TRUE(projection->addDiagram(diagram));
    EXPECT_TRUE(projection->addSubjectModelObject(subject));
    return projection;
}

ORXAssociation* newReference(std::vector<ORXObject*>& created, ORXClass* parent, ORXClass* child,
                             const char* childMultiplicity, ORXAssociationRole** childRole) {
    auto* association = new ORXAssociation();
    created.push_back(association);
    auto* parentRole = new ORXAssociationRole(association);
    parentRole->setSource(true);
    parentRole->setMultiplicity(buildMultiplicity(1, 1));
    EXPECT_TRUE(parentRole->addAssociatedClass(parent));
    *childRole = new ORXAssociationRole(association);
    (*childRole)->setMultiplicity(childMultiplicity);
    EXPECT_TRUE((*childRole)->addAssociatedClass(child));
    return association;
}

// Resolves ORDER-PRODUCT into an associative table as the export does.
void resolveManyToMany(SalesModel& s, std::vector<ORXObject*>& created) {
    auto* table = new ORXClass();
    created.push_back(table);
    table->setName("ORDER_PRODUCT");
    table->setPhysicalName("ORDERS_PRODUCTS");
    ORXAssociationRole* atTable1 = nullptr;
    ORXAssociationRole* atTable2 = nullptr;
    ORXAssociation* first = newReference(created, s.order, table, "0..*", &atTable1);
    ORXAssociation* second = newReference(created, s.product, table, "0..*", &atTable2);

    auto* key = new ORXCandidateKey();
    key->setUnique(true);
    ASSERT_TRUE(key->addAssociatedClass(table));
    ASSERT_TRUE(key->addPrimaryOfClass(table));
    auto* keyIndex = new ORXIndex();
    keyIndex->setClustered(true);
    ASSERT_TRUE(keyIndex->addKey(key));
    ASSERT_TRUE(keyIndex->addAssociatedClass(table));

    int offset = 0;
    struct Side {
        ORXClass* parent;
        ORXAssociationRole* role;
    };
    for (const Side& side : {Side{s.order, atTable1}, Side{s.product, atTable2}}) {
        ORXCandidateKey* parentKey = side.parent->getPrimaryKey();
        auto* foreign = new ORXForeignKey();
        ASSERT_TRUE(foreign->addAssociatedClass(table));
        ASSERT_TRUE(foreign->addAssociationRole(side.role));
        ASSERT_TRUE(foreign->addCandidateKey(parentKey));
        auto* foreignIndex = new ORXIndex();
        ASSERT_TRUE(foreignIndex->addKey(foreign));
        ASSERT_TRUE(foreignIndex->addAssociatedClass(table));
        for (int j = 0; j < parentKey->getAttributeCount(); ++j) {
            ORXAttribute* keyAttribute = parentKey->getAttribute(j);
            auto* copy = new ORXAttribute(*keyAttribute);
            if (!copy->addAssociatedClass(table)) {
                // The second ID clashes with the first: it takes the other table's name.
                copy->setName(s.order->getName().str() + "_" + keyAttribute->getName().str());
                copy->setPhysicalName(s.order->getName().str() + "_" +
                                      keyAttribute->getPhysicalName().str());
                ASSERT_TRUE(copy->addAssociatedClass(table));
                new ORXAssociationRoleNameMap(foreign, keyAttribute, copy);
            }
            copy->setType(keyAttribute->getType());
            ASSERT_TRUE(key->addAttribute(copy));
            ASSERT_TRUE(foreign->addAttribute(copy));
            new ORXIndexMember(keyIndex, copy, static_cast<short>(j + offset));
            new ORXIndexMember(foreignIndex, copy, static_cast<short>(j));
        }
        offset += parentKey->getAttributeCount();
    }
    EXPECT_EQ(table->findAttribute("ORDER_ID")->getPhysicalName().str(), "ORDER_ID");
    EXPECT_EQ(table->getKeyCount(), 3);
    EXPECT_EQ(table->getIndexCount(), 3);

    ORXDesignPackage* package = s.orderProduct->getDesignPackage();
    ASSERT_TRUE(table->addDesignPackage(package));
    ASSERT_TRUE(first->addDesignPackage(package));
    ASSERT_TRUE(second->addDesignPackage(package));
    for (int i = 0; i < s.orderProduct->getDiagramCount(); ++i) {
        ORXDiagram* diagram = s.orderProduct->getDiagram(i);
        for (ORXModelObject* made : std::vector<ORXModelObject*>{table, first, second}) {
            ASSERT_TRUE(made->addDiagram(diagram));
            project(created, made, diagram);
        }
    }
}

// Turns the generalization into a reference from VEHICLE to CAR.
void convertGeneralization(SalesModel& s, std::vector<ORXObject*>& created) {
    ORXAssociationRole* childRole = nullptr;
    ORXAssociation* reference = newReference(created, s.vehicle, s.car,
                                             buildMultiplicity(0, 2147483645).c_str(), &childRole);
    reference->setDescription(s.kind->getDescription());
    reference->setComment(s.kind->getComment());
    for (int i = 0; i < s.kind->getNoteCount(); ++i) {
        ASSERT_TRUE(reference->addNote(new ORXNote(*s.kind->getNote(i))));
    }
    for (int i = 0; i < s.kind->getForeignKeyCount(); ++i) {
        if (s.car->containsKey(s.kind->getForeignKey(i))) {
            ASSERT_TRUE(s.kind->getForeignKey(i)->addAssociationRole(childRole));
            break;
        }
    }
    ASSERT_TRUE(reference->addDesignPackage(s.car->getDesignPackage()));
    for (int i = 0; i < s.kind->getDiagramCount(); ++i) {
        ASSERT_TRUE(reference->addDiagram(s.kind->getDiagram(i)));
        project(created, reference, s.kind->getDiagram(i));
    }
    EXPECT_EQ(s.carKey->getAssociationRole(), childRole);
    EXPECT_EQ(childRole->getForeignKey(), s.carKey);
    EXPECT_EQ(s.carRole->getForeignKey(), s.carKey);
}

// Gives every object of the diagram without a symbol there a projection.
void ensureProjections(SalesModel& s, std::vector<ORXObject*>& created) {
    for (ORXModelObject* object : std::vector<ORXModelObject*>{s.vehicle, s.car, s.view}) {
        bool shown = false;
        for (int i = 0; i < object->getPresentationPresentationElementCount(); ++i) {
            shown = shown || s.diagram->containsPresentationElement(
                                 object->getPresentationPresentationElement(i));
        }
        if (!shown)
            project(created, object, s.diagram);
    }
}

TEST(ModelRestore, DeletingWhatPreprocessingCreatedRestoresTheModel) {
    SalesModel s;
    const std::string before = describe(s.model.get());

    std::vector<ORXObject*> created;
    resolveManyToMany(s, created);
    convertGeneralization(s, created);
    ensureProjections(s, created);
    // The reference to CUSTOMER moves to CUSTOMER's package for the export.
    ASSERT_TRUE(s.customerOrder->removeDesignPackage(s.main));
    ASSERT_TRUE(s.customerOrder->addDesignPackage(s.other));

    const std::string during = describe(s.model.get());
    EXPECT_NE(during, before);
    EXPECT_NE(during.find("Class:ORDER_PRODUCT"), std::string::npos);
    EXPECT_EQ(s.other->getModelElement(1), s.customerOrder);
    EXPECT_EQ(s.diagram->getPresentationElementCount(), 3 + 3 + 1 + 3);

    // Post-processing: the moved reference goes back, then the created
    // objects are deleted in creation order.
    ASSERT_TRUE(s.customerOrder->removeDesignPackage(s.other));
    ASSERT_TRUE(s.customerOrder->addDesignPackage(s.main));
    for (ORXObject* object : created)
        delete object;

    EXPECT_EQ(describe(s.model.get()), before);
    EXPECT_EQ(s.carKey->getAssociationRole(), s.carRole);
}

TEST(ModelRestore, DeletingInReverseOrderRestoresTheModelToo) {
    SalesModel s;
    const std::string before = describe(s.model.get());
    std::vector<ORXObject*> created;
    resolveManyToMany(s, created);
    convertGeneralization(s, created);
    ensureProjections(s, created);
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        delete *it;
    EXPECT_EQ(describe(s.model.get()), before);
}

TEST(ModelRestore, AssociativeTableNameClashIsRefusedUntilRenamed) {
    SalesModel s;
    auto* existing = named(new ORXClass(), "ORDER_PRODUCT");
    ASSERT_TRUE(existing->addDesignPackage(s.main));
    const std::string before = describe(s.model.get());

    auto* table = named(new ORXClass(), "ORDER_PRODUCT");
    EXPECT_FALSE(table->addDesignPackage(s.main));
    table->setName("ORDER_PRODUCT_7");
    EXPECT_TRUE(table->addDesignPackage(s.main));
    EXPECT_EQ(s.main->getModelElement(s.main->getModelElementCount() - 1), table);
    delete table;
    EXPECT_EQ(describe(s.model.get()), before);
}

TEST(ModelRestore, WholeModelIsDeletedWithEverythingCreatedInIt) {
    // Nothing is deleted by hand: the model's destructor must release the
    // created objects too, in whatever order it reaches them.
    SalesModel s;
    std::vector<ORXObject*> created;
    resolveManyToMany(s, created);
    convertGeneralization(s, created);
    ensureProjections(s, created);
    s.model.reset();
}

TEST(ModelRestore, ManyElementsLeaveAndReturnInLinearTime) {
    // 100000 classes leave their package for another and come back one by
    // one, as moved references do; reading the package afterwards puts them
    // back in their places with one merge, not one scan per element.
    constexpr int kCount = 100000;
    ORXModel model;
    auto* home = new ORXDesignPackage();
    auto* away = new ORXDesignPackage();
    model.addChildPackage(home);
    model.addChildPackage(away);
    std::vector<ORXClass*> classes;
    classes.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        auto* cls = new ORXClass();
        cls->setName("C" + std::to_string(i));
        ASSERT_TRUE(cls->addDesignPackage(home));
        classes.push_back(cls);
    }
    for (int round = 0; round < 3; ++round) {
        // Every other class leaves, the rest leave and return at once.
        for (int i = 0; i < kCount; i += 2) {
            ASSERT_TRUE(classes[static_cast<std::size_t>(i)]->removeDesignPackage(home));
            ASSERT_TRUE(classes[static_cast<std::size_t>(i)]->addDesignPackage(away));
        }
        for (int i = kCount - 1; i >= 0; --i) {
            ORXClass* cls = classes[static_cast<std::size_t>(i)];
            ORXDesignPackage* from = cls->getDesignPackage();
            ASSERT_TRUE(cls->removeDesignPackage(from));
            ASSERT_TRUE(cls->addDesignPackage(home));
        }
        ASSERT_EQ(home->getModelElementCount(), kCount);
        ASSERT_EQ(away->getModelElementCount(), 0);
        for (int i = 0; i < kCount; ++i) {
            ASSERT_EQ(home->getModelElement(i), classes[static_cast<std::size_t>(i)]) << i;
        }
    }
}

}  // namespace
