// The export driver: one export from the options to the closed file, with the
// model restored whatever happens.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXClock.h"
#include "orx/ORXVelmar.h"
#include "pdm/ExportBridge.h"

namespace {

// The leading decimal integer of `text` as the standard conversion reads it:
// leading blanks skipped, an optional sign, the digits up to the first other
// character; 0 when there are none. Values beyond the int range saturate.
int leadingInteger(const ORXString& text) {
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

ORXSybasePowerDesignerPdm08ExportBridge::ORXSybasePowerDesignerPdm08ExportBridge(ORXLog* exportLog)
    : log(exportLog) {}

ORXSybasePowerDesignerPdm08ExportBridge::~ORXSybasePowerDesignerPdm08ExportBridge() {
    try {
        postProcess(false);
    } catch (...) {
        // A destructor must not raise; the export has reported its own failure.
    }
}

bool ORXSybasePowerDesignerPdm08ExportBridge::exportModel(ORXModel* exportedModel,
                                                          ORXOptionList& options) {
    // 1. The model first: the destructor's clean-up relies on it.
    model = exportedModel;
    nextObjectId = 1;

    // 2. The GUID prefix from the low 32 bits of the calendar time.
    std::uint32_t seconds = static_cast<std::uint32_t>(ORXClock::now() & 0xFFFFFFFFu);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%08lX-1337-F331-D34D-",
                  static_cast<unsigned long>(seconds));
    guidPrefix = prefix;
    ruleIds.empty();

    // 3. Catalogs: only the first is used.
    ORXCatalog* firstCatalog = nullptr;
    int catalogCount = 0;
    for (int i = 0; i < model->getChildPackageCount(); ++i) {
        ORXPackage* child = model->getChildPackage(i);
        if (child->getElementType() != ORX_ET_CATALOG)
            continue;
        if (catalogCount++ == 0)
            firstCatalog = static_cast<ORXCatalog*>(child);
    }
    if (catalogCount > 1)
        VLE_PDPDM7::PDPDMX_E_MULTIPLE_CATALOGS_DETECTED.log(*log);

    // 4. Options.
    indentUnit = options.getValue(VLE_PDPDM7::BP_XML_INDENTATION__PRETTY_PRINTING_.getName());
    ORXString description = options.getValue(VLE_PDPDM7::BP_DESCRIPTION.getName());
    if (description == VLE_PDPDM7::BP_DESCRIPTION_ENUM_COMMENT.getText())
        descriptionMode = 1;
    else if (description == VLE_PDPDM7::BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION.getText())
        descriptionMode = 2;
    else
        descriptionMode = 0;
    int percentX =
        leadingInteger(options.getValue(VLE_PDPDM7::BP_SCALE__IN____FOR_X_COORDINATES.getName()));
    scaleX = static_cast<float>(percentX * 10.0 / 100.0);
    int percentY =
        leadingInteger(options.getValue(VLE_PDPDM7::BP_SCALE__IN____FOR_Y_COORDINATES.getName()));
    scaleY = static_cast<float>(percentY * 20.0 / 100.0);

    // 5. Target DBMS.
    selectTargetDbms(options, firstCatalog, log);

    try {
        // 6. The output file.
        ORXString path;
        if (ORXOption* fileOption = options.get(VLE_PDPDM7::BP_FILE.getName()))
            path = fileOption->getFilePath();
        outputFile = path;
        if (!outputFile.open(std::ios::out | std::ios::binary))
            VLE_PDPDM7::PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE.throwException(outputFile.getPath());

        // 7. Pre-processing.
        VLE_PDPDM7::PDPDMX_S_PRE_PROCESSING.log(*log);
        PreprocessOperation preprocess;
        preprocess.runOn(this);
        preprocess.resolveManyToManyAssociations();
        preprocess.convertGeneralizations();
        preprocess.moveReferencesToChildPackages();

        // 8. The document. Flushing here lets a write error (a full disk)
        // surface while the failure handler is still in charge.
        VLE_PDPDM7::PDPDMX_S_EXPORTING.log(*log);
        writeDocument(*model);
        flushLines();
        outputFile.flush();

        // 9. Text that could not be converted.
        if (conversionFailures > 0)
            VLCM::ICU_CONVERSION_ERROR.log(*log, ORXString(conversionFailures),
                                           ORXString(conversionReplacements));
        VLE_PDPDM7::PDPDMX_S_POST_PROCESSING.log(*log);
    } catch (...) {
        std::exception_ptr failure = std::current_exception();
        // A failed export leaves the previous file as it was.
        discardLines();
        outputFile.discard();
        try {
            postProcess(false);
        } catch (...) {
            // The first failure is the one to report.
        }
        std::rethrow_exception(failure);
    }

    // 10. Restore the model and close the file; a failed close is raised
    // once the model is whole again.
    postProcess(true);
    return true;
}
