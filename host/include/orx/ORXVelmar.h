#pragma once
// The bridge framework: bridge interfaces, option and specification literals
// and the framework's common messages.

#include <vector>

#include "orx/ORXLiterals.h"
#include "orx/ORXLog.h"
#include "orx/ORXOption.h"
#include "orx/ORXString.h"

class ORXModel;

// The value of an enumerated option: identifier and value text.
class ORXBridgeEnumValueLiteral : public ORXTextLiteral {
  public:
    ORXBridgeEnumValueLiteral(const ORXString& identifier, const ORXString& value)
        : ORXTextLiteral(identifier, value) {}
};

// The allowed values of an enumerated option, as a table of value literals.
class ORXBridgeOptionEnumerationLiteral : public ORXTextLiteral {
  public:
    ORXBridgeOptionEnumerationLiteral(const ORXString& identifier, const ORXString& text,
                                      ORXBridgeEnumValueLiteral* const* values, int count)
        : ORXTextLiteral(identifier, text), values_(values), count_(count) {}
    ORXBridgeEnumValueLiteral* const* getValues() const { return values_; }
    int getValueCount() const { return count_; }

  private:
    ORXBridgeEnumValueLiteral* const* values_;
    int count_;
};

// The definition of one bridge option: identifier, display name, kind,
// description, enumeration (or null) and default literal (or null).
class ORXBridgeOptionLiteral : public ORXTextLiteral {
  public:
    ORXBridgeOptionLiteral(const ORXString& identifier, const ORXString& name,
                           const ORXString& kind, const ORXString& description,
                           const ORXBridgeOptionEnumerationLiteral* enumeration,
                           const ORXTextLiteral* defaultValue);
    const ORXString& getName() const { return name_; }
    const ORXString& getKind() const { return kind_; }
    const ORXString& getDescription() const { return description_; }
    const ORXBridgeOptionEnumerationLiteral* getEnumeration() const { return enumeration_; }
    const ORXTextLiteral* getDefault() const { return default_; }

    // A new option object for the host (the caller owns it). `mandatory`
    // marks an option the user must fill in.
    ORXOption* generateOption(bool mandatory) const;
    // A new file option: the null-terminated list of extensions offered, the
    // name of the file filter, and whether the file is written.
    ORXOption* generateOption(bool mandatory, const char* const* extensions,
                              const ORXString& filterName, bool output) const;

  private:
    ORXString name_, kind_, description_;
    const ORXBridgeOptionEnumerationLiteral* enumeration_;
    const ORXTextLiteral* default_;
};

// What the framework knows of a bridge: its tool, vendor and description.
class ORXBridgeSpecificationLiteral : public ORXTextLiteral {
  public:
    ORXBridgeSpecificationLiteral(const ORXString& identifier,
                                  const ORXString& descriptionLiteralId, const ORXString& toolWeb,
                                  const ORXString& vendorName, const ORXString& toolName,
                                  const ORXString& toolVersions,
                                  const ORXString& methodologySummary);
    const ORXString& getInternalCode_DescriptionLiteralId() const { return descriptionId_; }
    const ORXString& getTool_Web() const { return toolWeb_; }
    const ORXString& getVendor_Name() const { return vendorName_; }
    const ORXString& getTool_Name() const { return toolName_; }
    const ORXString& getTool_Versions() const { return toolVersions_; }
    const ORXString& getMethodology_Summary() const { return methodology_; }

  private:
    ORXString descriptionId_, toolWeb_, vendorName_, toolName_, toolVersions_, methodology_;
};

// The specification literal the framework holds for `bridgeIdentifier`, or null.
const ORXBridgeSpecificationLiteral* getBridgeSpecification(const ORXString& bridgeIdentifier);
// Makes another bridge known to the framework: getBridgeSpecification then
// answers `literal` for its identifier (a later literal with the same
// identifier replaces an earlier one). The literal must outlive every lookup.
void registerBridgeSpecification(const ORXBridgeSpecificationLiteral* literal);

// The specification a bridge hands to the host.
class ORXBridgeSpecification {
  public:
    // Sets every text and flag. `extraTexts` is a null-terminated list (or null).
    void initialize(const ORXString& toolWeb, const ORXString& vendorName,
                    const ORXString& toolName, const ORXString& toolVersions,
                    const ORXString& methodologySummary, const char* const* extraTexts,
                    const ORXString& version, const ORXString& description, bool isImport,
                    bool isMetadataOnly);
    const ORXString& getToolWeb() const { return toolWeb_; }
    const ORXString& getVendorName() const { return vendorName_; }
    const ORXString& getToolName() const { return toolName_; }
    const ORXString& getToolVersions() const { return toolVersions_; }
    const ORXString& getMethodologySummary() const { return methodology_; }
    const std::vector<ORXString>& getExtraTexts() const { return extraTexts_; }
    const ORXString& getVersion() const { return version_; }
    const ORXString& getDescription() const { return description_; }
    bool isImport() const { return isImport_; }
    bool isMetadataOnly() const { return isMetadataOnly_; }

  private:
    ORXString toolWeb_, vendorName_, toolName_, toolVersions_, methodology_;
    std::vector<ORXString> extraTexts_;
    ORXString version_, description_;
    bool isImport_ = false;
    bool isMetadataOnly_ = false;
};

// A framework message with numbered text parameters.
class ORXVelmarMessageLiteral : public ORXMessageLiteral {
  public:
    ORXVelmarMessageLiteral(const ORXString& code, const ORXString& number, const ORXString& text,
                            const ORXString& severity);
    // The text with its parameters set, in order.
    ORXString toString(const std::vector<ORXString>& parameters) const;
    // "[" code "] " and the text.
    ORXString getMessage(const std::vector<ORXString>& parameters) const;
    void log(ORXLog& log, const ORXString& p0) const;
    void log(ORXLog& log, const ORXString& p0, const ORXString& p1) const;
    [[noreturn]] void throwException(const ORXString& p0) const;
};

namespace VLCM {
// "An unexpected error occurred in bridge '{0}'": raised for failures that are
// not the bridge's own messages.
extern const ORXVelmarMessageLiteral BRIDGE_UNEXPECTED_ERROR;
// Text that could not be converted to the output encoding: {0} texts, {1} bytes.
extern const ORXVelmarMessageLiteral ICU_CONVERSION_ERROR;
}  // namespace VLCM

namespace VLLST {
extern const ORXBridgeSpecificationLiteral BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT;
}  // namespace VLLST

// What the host holds of a loaded bridge.
class ORXVelmarDllInterface {
  public:
    virtual void getSpecification(const ORXString& bridgeIdentifier,
                                  ORXBridgeSpecification& specification) = 0;
    virtual void getOptionList(ORXOptionList& options) = 0;
    virtual ORXString getMappingSpecificationXmlFile() = 0;

  protected:
    ~ORXVelmarDllInterface() = default;  // never deleted through the interface
};

// An export bridge: run() writes `model` where its options say.
class ORXVelmarExportDllInterface : public ORXVelmarDllInterface {
  public:
    virtual bool run(const ORXString& argument, ORXModel& model, ORXOptionList& options,
                     ORXLog& log) = 0;

  protected:
    ~ORXVelmarExportDllInterface() = default;
};
