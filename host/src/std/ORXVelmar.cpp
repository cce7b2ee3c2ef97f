// The bridge framework: option and specification literals and the
// framework's own messages.

#include "orx/ORXVelmar.h"

#include <map>
#include <string>

ORXBridgeOptionLiteral::ORXBridgeOptionLiteral(const ORXString& identifier, const ORXString& name,
                                               const ORXString& kind, const ORXString& description,
                                               const ORXBridgeOptionEnumerationLiteral* enumeration,
                                               const ORXTextLiteral* defaultValue)
    : ORXTextLiteral(identifier, name),
      name_(name),
      kind_(kind),
      description_(description),
      enumeration_(enumeration),
      default_(defaultValue) {}

namespace {

std::vector<ORXString> enumerationTexts(const ORXBridgeOptionEnumerationLiteral* enumeration) {
    std::vector<ORXString> values;
    if (!enumeration || !enumeration->getValues())
        return values;
    values.reserve(static_cast<std::size_t>(enumeration->getValueCount()));
    for (int i = 0; i < enumeration->getValueCount(); ++i) {
        const ORXBridgeEnumValueLiteral* value = enumeration->getValues()[i];
        if (value)
            values.push_back(value->getText());
    }
    return values;
}

}  // namespace

ORXOption* ORXBridgeOptionLiteral::generateOption(bool mandatory) const {
    return new ORXOption(name_, kind_, description_, default_ ? default_->getText() : ORXString(),
                         enumerationTexts(enumeration_), mandatory);
}

ORXOption* ORXBridgeOptionLiteral::generateOption(bool mandatory, const char* const* extensions,
                                                  const ORXString& filterName, bool output) const {
    std::vector<ORXString> list;
    for (const char* const* e = extensions; e && *e; ++e)
        list.emplace_back(*e);
    return new ORXFileOption(name_, description_, default_ ? default_->getText() : ORXString(),
                             std::move(list), filterName, mandatory, output);
}

// The specification literal carries no text of its own: its text is the
// identifier, which is all a generic literal lookup can show of it.
ORXBridgeSpecificationLiteral::ORXBridgeSpecificationLiteral(
    const ORXString& identifier, const ORXString& descriptionLiteralId, const ORXString& toolWeb,
    const ORXString& vendorName, const ORXString& toolName, const ORXString& toolVersions,
    const ORXString& methodologySummary)
    : ORXTextLiteral(identifier, identifier),
      descriptionId_(descriptionLiteralId),
      toolWeb_(toolWeb),
      vendorName_(vendorName),
      toolName_(toolName),
      toolVersions_(toolVersions),
      methodology_(methodologySummary) {}

namespace VLLST {
const ORXBridgeSpecificationLiteral BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT(
    "ORXSybasePowerDesignerPdm08Export", "SybasePowerDesignerPdmExportDescription",
    "http://www.sybase.com/powerdesigner", "Sybase", "PowerDesigner", "8.0 to 12.0",
    "Relational (Physical Data Model)");
}  // namespace VLLST

namespace {

// The specification literals the framework knows, by identifier. Built at the
// first use, after this file's literals exist; never destroyed, so lookups
// from other libraries' exit code stay safe.
std::map<std::string, const ORXBridgeSpecificationLiteral*>& knownBridges() {
    static auto* known = new std::map<std::string, const ORXBridgeSpecificationLiteral*>{
        {VLLST::BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT.getIdentifier().str(),
         &VLLST::BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT},
    };
    return *known;
}

}  // namespace

const ORXBridgeSpecificationLiteral* getBridgeSpecification(const ORXString& bridgeIdentifier) {
    const auto& known = knownBridges();
    const auto it = known.find(bridgeIdentifier.str());
    return it == known.end() ? nullptr : it->second;
}

void registerBridgeSpecification(const ORXBridgeSpecificationLiteral* literal) {
    if (literal)
        knownBridges()[literal->getIdentifier().str()] = literal;
}

void ORXBridgeSpecification::initialize(const ORXString& toolWeb, const ORXString& vendorName,
                                        const ORXString& toolName, const ORXString& toolVersions,
                                        const ORXString& methodologySummary,
                                        const char* const* extraTexts, const ORXString& version,
                                        const ORXString& description, bool isImport,
                                        bool isMetadataOnly) {
    toolWeb_ = toolWeb;
    vendorName_ = vendorName;
    toolName_ = toolName;
    toolVersions_ = toolVersions;
    methodology_ = methodologySummary;
    extraTexts_.clear();
    for (const char* const* t = extraTexts; t && *t; ++t)
        extraTexts_.emplace_back(*t);
    version_ = version;
    description_ = description;
    isImport_ = isImport;
    isMetadataOnly_ = isMetadataOnly;
}

ORXVelmarMessageLiteral::ORXVelmarMessageLiteral(const ORXString& code, const ORXString& number,
                                                 const ORXString& text, const ORXString& severity)
    : ORXMessageLiteral(number, text, severity) {
    messageCode_ = code;
}

ORXString ORXVelmarMessageLiteral::toString(const std::vector<ORXString>& parameters) const {
    ORXParameterBlock block = prapareForParameters();
    for (std::size_t i = 0; i < parameters.size(); ++i)
        setParameterValue(block, static_cast<int>(i), parameters[i]);
    return createParametrizedText(block);
}

ORXString ORXVelmarMessageLiteral::getMessage(const std::vector<ORXString>& parameters) const {
    return "[" + messageCode_ + "] " + toString(parameters);
}

void ORXVelmarMessageLiteral::log(ORXLog& log, const ORXString& p0) const {
    log.reportEvent(ORXLogEvent(toString({p0}), messageCode_, severityLevel_, emptyString));
}

void ORXVelmarMessageLiteral::log(ORXLog& log, const ORXString& p0, const ORXString& p1) const {
    log.reportEvent(ORXLogEvent(toString({p0, p1}), messageCode_, severityLevel_, emptyString));
}

void ORXVelmarMessageLiteral::throwException(const ORXString& p0) const {
    throw ORXException(getMessage({p0}));
}

namespace VLCM {
const ORXVelmarMessageLiteral BRIDGE_UNEXPECTED_ERROR(
    "VLCM_F0100", "100", "An unexpected error occurred in bridge '{0}'", "FATAL");
const ORXVelmarMessageLiteral ICU_CONVERSION_ERROR(
    "VLCM_W0101", "101",
    "{0} text(s) held bytes that could not be converted to UTF-8; {1} byte(s) or character(s) "
    "were replaced",
    "WARNING");
}  // namespace VLCM
