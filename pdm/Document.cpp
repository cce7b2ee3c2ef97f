// The document frame: header, root, model object and the model's collections.

#include <string>
#include <vector>

#include "pdm/ExportBridge.h"
#include "pdm/FetchAhead.h"
#include "pdm/NumberText.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// Class identifier of the DBMS definition in the external model entries.
const char* const kDbmsClsid = "4BA9F647-DAB1-11D1-9944-006097355D9B";
// Class identifier of a physical data model.
const char* const kPdmClsid = "CDE44E21-9669-11D1-9914-006097355D9B";

}  // namespace

void Bridge::writeDocument(ORXModel& documentModel) {
    const int modelId = getObjectId(&documentModel);

    // Header. The model's name is escaped like an attribute value, so a name
    // holding a quote, "<", "&" or "?>" cannot break the instruction.
    char digits[16];
    const std::string oid = guidPrefix + std::string(digits, writeDecimal(digits, modelId, 12));
    printLine("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    ORXString header = ORXString("<?PowerDesigner ID=\"{") + oid + "}\" Name=\"" +
                       getXMLText(documentModel.getName()) +
                       "\" Type=\"{CDE44E21-9669-11D1-9914-006097355D9B}\" "
                       "signature=\"PDM_DATA_MODEL_XML\" version=\"8.0.0.203\"?>";
    printLine(header.c_str());

    // Root and model object.
    printCollectionStart("Model xmlns:a=\"attribute\" xmlns:c=\"collection\" xmlns:o=\"object\"");
    printObjectStart("o:SRepRootObject", newObjectId());
    printCollectionStart("c:Objects");
    printObjectStartWithOid("o:SPdmModel", modelId);
    printNameAndCode(&documentModel);
    printCollectionStart("a:ModelOptionsText");
    printLine("[ModelOptions]");
    printLine("[ModelOptions\\Conceptual options]");
    printLine("InfoUnique=No");
    printLine("AllowReuse=No");
    printLine("InfoAllowReuse=No");
    printLine("RlshUnique=No");
    printElementEnd("a:ModelOptionsText");
    writeLabelOrComment(&documentModel);
    writeDescription(&documentModel);
    writeNotes(&documentModel);

    // The top-level design packages: exported ones, and among them those
    // whose content is merged into the model's collections.
    std::vector<ORXDesignPackage*> exportedPackages, mergedPackages;
    for (int i = 0; i < documentModel.getChildPackageCount(); ++i) {
        ORXPackage* child = documentModel.getChildPackage(i);
        if (child->getElementType() != ORX_ET_DESIGN_PACKAGE)
            continue;
        auto* package = static_cast<ORXDesignPackage*>(child);
        if (!isPackageExported(package))
            continue;
        exportedPackages.push_back(package);
        if (!package->getPackageFlag())
            mergedPackages.push_back(package);
    }
    const DbmsDescriptor& dbms = targetDbms();

    // 1. The shortcut to the target DBMS definition.
    printCollectionStart("c:DBMS");
    const int dbmsShortcutId = newObjectId();
    printObjectStartWithOid("o:SRepShortcut", dbmsShortcutId);
    printAttribute("a:Name", dbms.displayName);
    printAttribute("a:Code", dbms.dbmsCode);
    printAttribute("a:ExtOID", dbms.dbmsGuid);
    printAttribute("a:ExtCLSID", kDbmsClsid);
    printAttribute("a:TrgtLoct", "");
    printElementEnd("o:SRepShortcut");
    printElementEnd("c:DBMS");

    // 2. Diagrams of the merged packages.
    printCollectionStart("c:PdmDiagrams");
    for (ORXDesignPackage* package : mergedPackages) {
        currentPackage = package;
        testAndSetWritten(package);
        for (int d = 0; d < package->getDiagramCount(); ++d)
            writeDiagram(package->getDiagram(d));
    }
    printElementEnd("c:PdmDiagrams");

    // 3. Packages: the children of merged packages, and flagged packages themselves.
    printCollectionStart("c:PdmPackages");
    for (ORXDesignPackage* package : exportedPackages) {
        if (!package->getPackageFlag()) {
            currentPackage = package;
            for (int i = 0; i < package->getChildPackageCount(); ++i) {
                ORXPackage* child = package->getChildPackage(i);
                if (child->getElementType() == ORX_ET_DESIGN_PACKAGE)
                    writePackage(static_cast<ORXDesignPackage*>(child));
            }
        } else {
            writePackage(package);
        }
    }
    printElementEnd("c:PdmPackages");

    // 4. Business rules: those written inside packages, then the rules of
    // classes that lie on no diagram.
    printCollectionStart("c:BusinessRules");
    const int writtenRules = ruleIds.getCount();
    for (int i = 0; i < writtenRules; ++i)
        printObjectRef("o:SObjRule", "Ref", ruleIds.get(i));
    for (ORXDesignPackage* package : mergedPackages) {
        currentPackage = package;
        for (auto walk = walkKinds(
                 package, packageElementKinds(package),
                 [](std::uint8_t k) { return k == kTableElement || k == kTableWithOperations; });
             ORXModelObject* element = walk.element(); walk.advance()) {
            auto* table = static_cast<ORXClass*>(element);
            if (!isClassExported(table) || table->getDiagramCount() != 0)
                continue;
            for (int a = 0; a < table->getAttributeCount(); ++a) {
                ORXAttribute* attribute = table->getAttribute(a);
                // A rule written already is listed above; a column that is
                // not exported gets no rule.
                if (attribute->getRuleExpression().empty() || !isAttributeExported(attribute))
                    continue;
                if (const ExportRecordDetail* detail = findExportDetail(attribute);
                    detail && detail->ruleId != 0)
                    continue;
                writeBusinessRule(attribute);
            }
        }
    }
    printElementEnd("c:BusinessRules");

    // 5. Users: the schemas of the catalogs.
    printCollectionStart("c:Users");
    for (int i = 0; i < documentModel.getChildPackageCount(); ++i) {
        ORXPackage* catalog = documentModel.getChildPackage(i);
        if (catalog->getElementType() != ORX_ET_CATALOG)
            continue;
        for (int s = 0; s < catalog->getChildPackageCount(); ++s) {
            ORXPackage* schema = catalog->getChildPackage(s);
            if (schema->getElementType() == ORX_ET_SCHEMA)
                writeUser(schema);
        }
    }
    printElementEnd("c:Users");

    // 6. Domains.
    printCollectionStart("c:Domains");
    for (int i = 0; i < documentModel.getTypeCount(); ++i)
        writeDomain(documentModel.getType(i));
    printElementEnd("c:Domains");

    // 7 to 10. The content of the merged packages.
    printCollectionStart("c:Procedures");
    for (ORXDesignPackage* package : mergedPackages) {
        currentPackage = package;
        writePackageProcedures(package);
    }
    printElementEnd("c:Procedures");

    printCollectionStart("c:Tables");
    for (ORXDesignPackage* package : mergedPackages) {
        currentPackage = package;
        writePackageTables(package);
    }
    printElementEnd("c:Tables");

    printCollectionStart("c:Views");
    for (ORXDesignPackage* package : mergedPackages) {
        currentPackage = package;
        writePackageViews(package);
    }
    printElementEnd("c:Views");

    printCollectionStart("c:References");
    for (ORXDesignPackage* package : mergedPackages) {
        currentPackage = package;
        writePackageReferences(package);
    }
    printElementEnd("c:References");

    // 11. The external model entry of the target DBMS.
    printCollectionStart("c:ExtSess");
    const int dbmsSessionId = newObjectId();
    printObjectStartWithOid("o:SRepSessionExtern", dbmsSessionId);
    printAttribute("a:Name", dbms.displayName);
    printAttribute("a:Code", dbms.dbmsCode);
    printAttribute("a:ModelURL", dbms.definitionUrl);
    printAttribute("a:ModelID", dbms.dbmsGuid);
    printAttribute("a:ModelCLSID", kDbmsClsid);
    printCollectionStart("c:Shortcuts");
    printObjectRef("o:SRepShortcut", "Ref", dbmsShortcutId);
    printElementEnd("c:Shortcuts");
    printElementEnd("o:SRepSessionExtern");
    printElementEnd("c:ExtSess");

    // 12. The external model entry of the model itself, listing every shortcut.
    printCollectionStart("c:ExtSess");
    const int modelSessionId = newObjectId();
    printObjectStartWithOid("o:SRepSessionExtern", modelSessionId);
    printNameAndCode(&documentModel);
    printAttribute("a:ModelURL", "file:///.");
    printIntegerAttribute("a:ModelID", modelId, true);
    printAttribute("a:ModelCLSID", kPdmClsid);
    printCollectionStart("c:Shortcuts");
    for (ORXDesignPackage* package : exportedPackages)
        writeSessionShortcuts(package);
    printElementEnd("c:Shortcuts");
    printElementEnd("o:SRepSessionExtern");
    printElementEnd("c:ExtSess");

    printElementEnd("o:SPdmModel");
    printElementEnd("c:Objects");
    printElementEnd("o:SRepRootObject");
    printElementEnd("Model");
}
