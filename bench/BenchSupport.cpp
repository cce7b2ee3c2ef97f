// The benchmarks' generated models and the export they run.

#include "bench/BenchSupport.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "bridge/DllInterface.h"
#include "orx/ORXOption.h"

namespace bench {

namespace {

// A column of its own inline type, as the database sources make them.
ORXAttribute* addColumn(ORXClass* table, const char* name, const char* dataType, int length) {
    auto* column = new ORXAttribute();
    column->setName(name);
    auto* type = new ORXType();
    type->setDataType(dataType);
    type->setLength(length);
    column->setOwnedType(type);
    column->setOptional(length > 0);
    column->addAssociatedClass(table);
    return column;
}

// A reference from `child` (its column `column`) to the primary key of `parent`.
void addReference(ORXDesignPackage* package, ORXDiagram* diagram, ORXClass* parent, ORXClass* child,
                  int column) {
    auto* foreignKey = new ORXForeignKey();
    foreignKey->addAssociatedClass(child);
    foreignKey->addAttribute(child->getAttribute(column));
    foreignKey->addCandidateKey(parent->getPrimaryKey());
    auto* association = new ORXAssociation();
    auto* parentRole = new ORXAssociationRole(association);
    parentRole->setSource(true);
    parentRole->setMultiplicity("1");
    parentRole->addAssociatedClass(parent);
    auto* childRole = new ORXAssociationRole(association);
    childRole->setMultiplicity("0..*");
    childRole->addAssociatedClass(child);
    foreignKey->addAssociationRole(childRole);
    new ORXAssociationRoleNameMap(foreignKey, parent->getAttribute(0), child->getAttribute(column));
    association->addDesignPackage(package);
    association->addDiagram(diagram);
    auto* line = new ORXPresentationElement();
    line->addDiagram(diagram);
    line->addSubjectModelObject(association);
}

}  // namespace

// `tables` tables in one package and one diagram: ten columns each (an
// integer key and nine others, each with its own inline type), a primary key
// with its index, one to three references to earlier tables, and a symbol for
// every table and reference.
std::unique_ptr<ORXModel> makeModel(int tables) {
    auto model = std::make_unique<ORXModel>();
    model->setName("Bench");
    auto* package = new ORXDesignPackage();
    package->setName("Main");
    model->addChildPackage(package);
    auto* diagram = new ORXDiagram();
    diagram->setName("All");
    package->addOwnedDiagram(diagram);

    std::vector<ORXClass*> made;
    made.reserve(static_cast<std::size_t>(tables));
    for (int t = 0; t < tables; ++t) {
        auto* table = new ORXClass();
        table->setName(ORXString("TABLE_") + ORXString(t));
        addColumn(table, "ID", "SQL_INTEGER", 0);
        for (int c = 1; c < 10; ++c) {
            const std::string name = "COLUMN_" + std::to_string(c);
            addColumn(table, name.c_str(), c < 4 ? "SQL_INTEGER" : "SQL_VARCHAR",
                      c < 4 ? 0 : 20 + 10 * c);
        }
        auto* key = new ORXCandidateKey();
        key->setName("PK_" + std::to_string(t));
        key->addAssociatedClass(table);
        key->addAttribute(table->getAttribute(0));
        key->addPrimaryOfClass(table);
        auto* index = new ORXIndex();
        index->setName("PK_" + std::to_string(t) + "_INDEX");
        index->setUnique(true);
        index->addAssociatedClass(table);
        index->addKey(key);
        new ORXIndexMember(index, table->getAttribute(0), 0);
        table->addDesignPackage(package);
        table->addDiagram(diagram);
        auto* symbol = new ORXPresentationElement();
        symbol->setGeometry(100 + 150 * (t % 100), 100 + 120 * (t / 100), 120, 80);
        symbol->addDiagram(diagram);
        symbol->addSubjectModelObject(table);

        // One to three references: to the previous table always, to the one
        // before it on every second table, three back on every third.
        for (int back = 1; back <= 3; ++back) {
            if (t - back < 0 || (back > 1 && t % back != 0))
                continue;
            addReference(package, diagram, made[static_cast<std::size_t>(t - back)], table, back);
        }
        made.push_back(table);
    }
    return model;
}

namespace {

class NullLog : public ORXLog {
  public:
    void reportEvent(const ORXLogEvent&) override {}
};

}  // namespace

void exportModel(ORXModel& model, const std::string& path) {
    ORXVelmarExportDllInterface* bridge = getORXSybasePowerDesignerPdm08ExportInterface();
    ORXOptionList options;
    bridge->getOptionList(options);
    options.setValue("File", path);
    NullLog log;
    if (!bridge->run(ORXString(), model, options, log))
        throw std::runtime_error("the export failed");
}

}  // namespace bench
