// Views and their columns.

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXBridgeLib.h"
#include "orx/ORXStack.h"
#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

void Bridge::writeView(ORXSQLViewEntity* view) {
    if (printRefIfWritten("o:SPdoObjView", view))
        return;
    printObjectStartWithOid("o:SPdoObjView", getObjectId(view));
    printNameAndCode(view);

    // A stored statement stands as it is; its columns are written only for
    // statement kind 1. Without one, the statement is generated from the
    // columns' sources and the columns are written.
    bool writeColumns = true;
    if (!view->getViewStatement().empty()) {
        printAttribute("a:SQL", view->getViewStatement(), true);
        writeColumns = view->getViewStatementKind() == 1;
    } else {
        printAttribute("a:SQL", computeSqlViewSelectStatement(view), true);
    }
    VLE_PDPDM7::PDPDMX_W_INCONSISTENT_VIEW.log(*log, getExportName(view));

    writeLabelOrComment(view);
    writeDescription(view);
    writeNotes(view);
    printCollectionStart("c:VIEW.Owner");
    ORXModelObject* owner = view->getOwner();
    if (owner && owner->getElementType() == ORX_ET_SCHEMA)
        writeUser(owner);
    printElementEnd("c:VIEW.Owner");
    if (writeColumns) {
        printCollectionStart("c:ViewColns");
        auto features = featureLists.borrow();
        view->getFeatureByPosition(*features);
        for (int i = 0; i < view->getSQLViewAttributeCount() && i < features->getCount(); ++i) {
            ORXFeature* feature = features->getFeature(i);
            if (feature->getElementType() == ORX_ET_SQL_VIEW_ATTRIBUTE)
                writeViewColumn(static_cast<ORXSQLViewAttribute*>(feature));
        }
        printElementEnd("c:ViewColns");
    }
    printElementEnd("o:SPdoObjView");
}

void Bridge::writeViewColumn(ORXSQLViewAttribute* column) {
    ORXStack::check();
    if (!isViewColumnExported(column))
        return;
    // The written flag is set before the contents, so a chain of view
    // columns that leads back to itself ends in a reference.
    if (printRefIfWritten("o:SPdoObjViewColn", column))
        return;
    printObjectStartWithOid("o:SPdoObjViewColn", getObjectId(column));
    printAttribute("a:Name", column->getName(), true);
    printExportCode("a:Code", column);
    ORXFeature* source = column->getSourceFeature();
    if (source && source->getElementType() == ORX_ET_ATTRIBUTE) {
        printCollectionStart("c:VIEWC.Columns");
        writeColumn(static_cast<ORXAttribute*>(source));
        printElementEnd("c:VIEWC.Columns");
    } else if (source && source->getElementType() == ORX_ET_SQL_VIEW_ATTRIBUTE) {
        printCollectionStart("c:VIEWC.Columns");
        writeViewColumn(static_cast<ORXSQLViewAttribute*>(source));
        printElementEnd("c:VIEWC.Columns");
    }
    printElementEnd("o:SPdoObjViewColn");
}

bool Bridge::isViewColumnExported(ORXSQLViewAttribute* column) {
    ExportRecord& record = getExportRecord(column);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    ORXFeature* source = column->getSourceFeature();
    bool exported =
        !(source && source->getElementType() != ORX_ET_ATTRIBUTE && source->getLevelCode() == 1);
    record.exported = exported ? 1 : 0;
    return exported;
}
