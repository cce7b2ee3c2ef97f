// Objects created and linked into a model the way the export's pre-processing
// does, then deleted: the model must be exactly as before.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "orx/ORXBridgeLib.h"
#include "orx/ORXModel.h"

namespace {

std::string ref(const ORXObject* object) {
    return object ? std::string(getElementTypeName(object->getElementType())) + ":" +
                        object->getName().str()
                  : "-";
}

template <class Get>
std::string list(int count, Get get) {
    std::string out = "[";
    for (int i = 0; i < count; ++i)
        out += (i ? "," : "") + ref(get(i));
    return out + "]";
}

// One line per owned object with the links the model keeps about it.
class Describer : public ORXTraversalOperation {
  public:
    bool visit(ORXObject* o, void*) override {
        out << std::string(static_cast<std::size_t>(depth++) * 2, ' ') << ref(o);
        if (auto* m = dynamic_cast<ORXModelObject*>(o))
            out << " pkg=" << ref(m->getDesignPackage())
                << list(m->getDiagramCount(), [m](int i) { return m->getDiagram(i); })
                << " shownBy=" << m->getPresentationPresentationElementCount();
        if (auto* p = dynamic_cast<ORXDesignPackage*>(o))
            out << list(p->getModelElementCount(), [p](int i) { return p->getModelElement(i); });
        if (auto* d = dynamic_cast<ORXDiagram*>(o))
            out << list(d->getMemberCount(), [d](int i) { return d->getMember(i); })
                << list(d->getPresentationElementCount(), [d](int i) {
                       return d->getPresentationElement(i)->getSubjectModelObject();
                   });
        if (auto* c = dynamic_cast<ORXClass*>(o))
            out << list(c->getAttributeCount(), [c](int i) { return c->getAttribute(i); })
                << list(c->getKeyCount(), [c](int i) { return c->getKey(i); })
                << list(c->getIndexCount(), [c](int i) { return c->getIndex(i); })
                << list(c->getAssociationRoleCount(),
                        [c](int i) { return c->getAssociationRole(i); })
                << " pk=" << ref(c->getPrimaryKey());
        if (auto* a = dynamic_cast<ORXAttribute*>(o))
            out << list(a->getKeyCount(), [a](int i) { return a->getKey(i); })
                << " members=" << a->getIndexMemberCount()
                << " maps=" << a->getSourceOfAssociationRoleNameMapCount();
        if (auto* k = dynamic_cast<ORXCandidateKey*>(o))
            out << list(k->getReferencingForeignKeyCount(),
                        [k](int i) { return k->getReferencingForeignKey(i); });
        if (auto* f = dynamic_cast<ORXForeignKey*>(o))
            out << " role=" << ref(f->getAssociationRole());
        if (auto* r = dynamic_cast<ORXAssociationRole*>(o))
            out << " class=" << ref(r->getAssociatedClass()) << " fk=" << ref(r->getForeignKey());
        out << "\n";
        return true;
    }
    void leave(ORXObject*, void*) override { --depth; }
    std::ostringstream out;
    int depth = 0;
};

std::string describe(ORXModel& model) {
    Describer describer;
    model.depthTraversal(&describer, nullptr);
    return describer.out.str();
}

template <class T>
T* named(T* object, const std::string& name) {
    object->setName(name);
    return object;
}

// ORDER and PRODUCT with a many-to-many association, VEHICLE without a
// symbol, a reference to CUSTOMER in another package, and one diagram.
struct SalesModel {
    ORXModel model;
    ORXDesignPackage* main = named(new ORXDesignPackage(), "Main");
    ORXDesignPackage* other = named(new ORXDesignPackage(), "Other");
    ORXClass* order = named(new ORXClass(), "ORDER");
    ORXClass* product = named(new ORXClass(), "PRODUCT");
    ORXClass* vehicle = named(new ORXClass(), "VEHICLE");
    ORXClass* customer = named(new ORXClass(), "CUSTOMER");
    ORXAssociation* orderProduct = named(new ORXAssociation(), "ORDER_PRODUCT_LINK");
    ORXAssociation* customerOrder = named(new ORXAssociation(), "CUSTOMER_ORDER");
    ORXDiagram* diagram = named(new ORXDiagram(), "Overview");

    SalesModel() {
        model.addChildPackage(main);
        model.addChildPackage(other);
        main->addOwnedDiagram(diagram);
        for (ORXModelObject* element :
             std::vector<ORXModelObject*>{order, customerOrder, product, orderProduct, vehicle})
            EXPECT_TRUE(element->addDesignPackage(main) && element->addDiagram(diagram));
        EXPECT_TRUE(customer->addDesignPackage(other));
        for (ORXClass* cls : {order, product, vehicle, customer}) {
            auto* id = named(new ORXAttribute(), "ID");
            auto* key = named(new ORXCandidateKey(), cls->getName().str() + "_PK");
            EXPECT_TRUE(id->addAssociatedClass(cls) && key->addAssociatedClass(cls) &&
                        key->addAttribute(id) && key->addPrimaryOfClass(cls));
        }
        role(orderProduct, order, true, "0..*");
        role(orderProduct, product, false, "0..*");
        role(customerOrder, order, true, "1");
        role(customerOrder, customer, false, "0..*");
        for (ORXModelObject* subject : std::vector<ORXModelObject*>{order, product, orderProduct}) {
            auto* symbol = new ORXPresentationElement();
            symbol->addDiagram(diagram);
            symbol->addSubjectModelObject(subject);
        }
    }
    static ORXAssociationRole* role(ORXAssociation* association, ORXClass* cls, bool source,
                                    const char* multiplicity) {
        auto* r = named(new ORXAssociationRole(association), cls->getName().str());
        r->setSource(source);
        r->setMultiplicity(multiplicity);
        r->addAssociatedClass(cls);
        return r;
    }
};

// Makes objects the way pre-processing does and keeps them for deletion.
struct Creator {
    SalesModel& s;
    std::vector<ORXObject*> created;

    template <class T>
    T* make(T* object) {
        created.push_back(object);
        return object;
    }
    void project(ORXModelObject* object) {
        auto* projection = make(new ORXProjection());
        ASSERT_TRUE(projection->addDiagram(s.diagram) && projection->addSubjectModelObject(object));
    }
    void show(ORXModelObject* object) {
        ASSERT_TRUE(object->addDiagram(s.diagram));
        project(object);
    }
    // A reference from `parent` to `child`; returns the child's role.
    ORXAssociationRole* reference(ORXClass* parent, ORXClass* child) {
        auto* association = make(new ORXAssociation());
        SalesModel::role(association, parent, true, "1");
        ORXAssociationRole* childRole = SalesModel::role(association, child, false, "0..*");
        EXPECT_TRUE(association->addDesignPackage(s.main));
        show(association);
        return childRole;
    }

    // ORDER_PRODUCT with a primary key and a foreign key per side, each
    // implemented by an index, the second ID renamed and mapped.
    void resolveManyToMany() {
        auto* table = make(named(new ORXClass(), "ORDER_PRODUCT"));
        ASSERT_TRUE(table->addDesignPackage(s.main));
        show(table);
        auto* key = new ORXCandidateKey();
        auto* keyIndex = new ORXIndex();
        ASSERT_TRUE(key->addAssociatedClass(table) && key->addPrimaryOfClass(table) &&
                    keyIndex->addKey(key) && keyIndex->addAssociatedClass(table));
        short position = 0;
        for (ORXClass* parent : {s.order, s.product}) {
            ORXCandidateKey* parentKey = parent->getPrimaryKey();
            auto* foreign = new ORXForeignKey();
            auto* foreignIndex = new ORXIndex();
            ASSERT_TRUE(foreign->addAssociatedClass(table) &&
                        foreign->addAssociationRole(reference(parent, table)) &&
                        foreign->addCandidateKey(parentKey) && foreignIndex->addKey(foreign) &&
                        foreignIndex->addAssociatedClass(table));
            ORXAttribute* source = parentKey->getAttribute(0);
            auto* copy = new ORXAttribute(*source);
            if (!copy->addAssociatedClass(table)) {
                copy->setName("ORDER_ID");
                ASSERT_TRUE(copy->addAssociatedClass(table));
                new ORXAssociationRoleNameMap(foreign, source, copy);
            }
            ASSERT_TRUE(key->addAttribute(copy) && foreign->addAttribute(copy));
            new ORXIndexMember(keyIndex, copy, position++);
            new ORXIndexMember(foreignIndex, copy, 0);
        }
        EXPECT_EQ(table->getKeyCount(), 3);
    }
};

TEST(ModelRestore, DeletingWhatPreprocessingCreatedRestoresTheModel) {
    for (bool reverse : {false, true}) {
        SCOPED_TRACE(reverse ? "deleted in reverse order" : "deleted in creation order");
        auto s = std::make_unique<SalesModel>();
        const std::string before = describe(s->model);
        Creator creator{*s, {}};
        creator.resolveManyToMany();
        creator.project(s->vehicle);
        // The reference to CUSTOMER moves to CUSTOMER's package for the export.
        ASSERT_TRUE(s->customerOrder->removeDesignPackage(s->main));
        ASSERT_TRUE(s->customerOrder->addDesignPackage(s->other));
        EXPECT_NE(describe(s->model), before);

        ASSERT_TRUE(s->customerOrder->removeDesignPackage(s->other));
        ASSERT_TRUE(s->customerOrder->addDesignPackage(s->main));
        if (reverse)
            std::reverse(creator.created.begin(), creator.created.end());
        for (ORXObject* object : creator.created)
            delete object;
        EXPECT_EQ(describe(s->model), before);
    }
}

}  // namespace
