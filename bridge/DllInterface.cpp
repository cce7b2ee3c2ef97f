// The interface object that hosts talk to, and the exported factory.

#include "bridge/DllInterface.h"

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXException.h"
#include "pdm/ExportBridge.h"

#ifdef _WIN32
#include <windows.h>

// The library keeps no per-thread state, so it asks not to be told of
// threads starting and ending.
BOOL APIENTRY DllMain(HMODULE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(module);
    return TRUE;
}
#endif

namespace {

// The version text the bridge reports in its specification.
const char* const kBridgeVersion = "5.2.0 - Jun  7 2007 18:15:28";
// The bridge's name in the framework's unexpected-error message.
const char* const kBridgeName = "ORXSybasePowerDesignerPdm08Export";

}  // namespace

extern "C" ORXVelmarExportDllInterface* getORXSybasePowerDesignerPdm08ExportInterface() {
    // Built on the first call and never destroyed: hosts may keep the pointer
    // for as long as the library is loaded.
    static ORXSybasePowerDesignerPdm08ExportDllInterface* instance =
        new ORXSybasePowerDesignerPdm08ExportDllInterface();
    return instance;
}

void ORXSybasePowerDesignerPdm08ExportDllInterface::getSpecification(
    const ORXString& bridgeIdentifier, ORXBridgeSpecification& specification) {
    const ORXBridgeSpecificationLiteral* literal = getBridgeSpecification(bridgeIdentifier);
    if (!literal)
        literal = &VLLST::BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT;

    const ORXString& descriptionId = literal->getInternalCode_DescriptionLiteralId();
    ORXString description;
    if (const ORXTextLiteral* text = VLE_PDPDM7::findTextLiteral(descriptionId))
        description = text->getText();
    else
        description = ORXString("*** ") + descriptionId;

    specification.initialize(literal->getTool_Web(), literal->getVendor_Name(),
                             literal->getTool_Name(), literal->getTool_Versions(),
                             literal->getMethodology_Summary(), nullptr, ORXString(kBridgeVersion),
                             description, false, false);
}

void ORXSybasePowerDesignerPdm08ExportDllInterface::getOptionList(ORXOptionList& options) {
    static const char* const kExtensions[] = {"pdm", nullptr};
    options.removeAll();
    options.add(VLE_PDPDM7::BP_VERSION.generateOption(false));
    options.add(VLE_PDPDM7::BP_FILE.generateOption(true, kExtensions, ORXString("Default"), true));
    options.add(VLE_PDPDM7::BP_TARGET_DATABASE.generateOption(false));
    options.add(VLE_PDPDM7::BP_DESCRIPTION.generateOption(false));
    options.add(VLE_PDPDM7::BP_SCALE__IN____FOR_X_COORDINATES.generateOption(false));
    options.add(VLE_PDPDM7::BP_SCALE__IN____FOR_Y_COORDINATES.generateOption(false));
    options.add(VLE_PDPDM7::BP_XML_INDENTATION__PRETTY_PRINTING_.generateOption(false));
}

ORXString ORXSybasePowerDesignerPdm08ExportDllInterface::getMappingSpecificationXmlFile() {
    return ORXString("ORXSybasePowerDesignerPdm07Export");
}

bool ORXSybasePowerDesignerPdm08ExportDllInterface::run(const ORXString& /*argument*/,
                                                        ORXModel& model, ORXOptionList& options,
                                                        ORXLog& log) {
    try {
        ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
        return bridge.exportModel(&model, options);
    } catch (const ORXException&) {
        throw;
    } catch (...) {
        VLCM::BRIDGE_UNEXPECTED_ERROR.throwException(ORXString(kBridgeName));
    }
}
