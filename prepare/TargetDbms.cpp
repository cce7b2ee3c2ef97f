// Choosing the target DBMS: by option, or detected from the model's first catalog.

#include "literals/VLE_PDPDM7.h"
#include "pdm/ExportBridge.h"

void ORXSybasePowerDesignerPdm08ExportBridge::selectTargetDbms(ORXOptionList& options,
                                                               ORXCatalog* firstCatalog,
                                                               ORXLog* exportLog) {
    targetDbmsIndex = 0;
    const ORXBridgeOptionEnumerationLiteral& targets = VLE_PDPDM7::BP_TARGET_DATABASE_ENUM;
    ORXString value = options.getValue(VLE_PDPDM7::BP_TARGET_DATABASE.getName());

    if (value == VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_AUTO_DETECT.getText()) {
        ORXString databaseType;
        if (firstCatalog)
            databaseType = firstCatalog->getDatabaseType();
        if (databaseType.empty()) {
            VLE_PDPDM7::PDPDMX_S_ORIGINAL_DATABASE_NOT_DETECTED.log(*exportLog);
        } else {
            int row = detectDbmsRow(databaseType.c_str(), databaseType.getLength());
            if (row >= 0)
                targetDbmsIndex = row;
            VLE_PDPDM7::PDPDMX_S_ORIGINAL_DATABASE_DETECTED.log(*exportLog, databaseType);
        }
    } else {
        for (int position = 0; position < targets.getValueCount(); ++position) {
            if (targets.getValues()[position]->getText() == value) {
                int row = dbmsRowForEnumerationPosition(position);
                if (row >= 0)
                    targetDbmsIndex = row;
                break;
            }
        }
    }

    targetDatatypeTable = dbmsCatalogue[targetDbmsIndex].datatypeTable;
    VLE_PDPDM7::PDPDMX_S_TARGET_DATABASE_DETECTED.log(*exportLog,
                                                      ORXString(targetDbms().displayName));
}
