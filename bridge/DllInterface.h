#pragma once
// The interface object that hosts talk to, and the exported factory.

#include "bridge/Export.h"
#include "orx/ORXVelmar.h"

class PDM_EXPORT ORXSybasePowerDesignerPdm08ExportDllInterface
    : public ORXVelmarExportDllInterface {
  public:
    ORXSybasePowerDesignerPdm08ExportDllInterface() = default;
    ORXSybasePowerDesignerPdm08ExportDllInterface(
        const ORXSybasePowerDesignerPdm08ExportDllInterface&) = default;
    ORXSybasePowerDesignerPdm08ExportDllInterface& operator=(
        const ORXSybasePowerDesignerPdm08ExportDllInterface&) = default;

    // Fills `specification` from the framework's literal of this bridge.
    void getSpecification(const ORXString& bridgeIdentifier,
                          ORXBridgeSpecification& specification) override;
    // Replaces the list's content with the bridge's seven options.
    void getOptionList(ORXOptionList& options) override;
    // "ORXSybasePowerDesignerPdm07Export".
    ORXString getMappingSpecificationXmlFile() override;
    // Exports `model` to the file the options name. Returns true or raises:
    // the bridge's own ORXException unchanged, any other failure as
    // VLCM::BRIDGE_UNEXPECTED_ERROR naming the bridge.
    bool run(const ORXString& argument, ORXModel& model, ORXOptionList& options,
             ORXLog& log) override;
};

// The factory: the one interface object of the library.
extern "C" PDM_EXPORT ORXVelmarExportDllInterface* getORXSybasePowerDesignerPdm08ExportInterface();
