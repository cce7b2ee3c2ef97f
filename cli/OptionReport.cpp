#include "cli/OptionReport.h"

#include <algorithm>
#include <cctype>

namespace cli {

namespace {

void appendIndentedLines(std::string& out, const std::string& text, const char* indent) {
    std::string::size_type start = 0;
    while (true) {
        std::string::size_type end = text.find('\n', start);
        out += indent;
        out += text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        out += '\n';
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

}  // namespace

std::string formatOptionList(const ORXOptionList& options) {
    std::string out;
    for (int i = 0; i < options.getCount(); ++i) {
        const ORXOption& option = *options.getOption(i);
        if (i > 0)
            out += '\n';
        out += option.getName().str() + " (" + option.getKind().str() + ")\n";
        out += "  default: " + option.getDefaultValue().str() + "\n";
        if (!option.getEnumeration().empty()) {
            out += "  values:\n";
            for (const ORXString& value : option.getEnumeration()) {
                out += "    " + value.str() + "\n";
            }
        }
        if (!option.getDescription().empty()) {
            appendIndentedLines(out, option.getDescription().str(), "  ");
        }
    }
    return out;
}

std::string formatSpecification(const ORXBridgeSpecification& specification) {
    std::string out;
    out += "Tool: " + specification.getToolName().str() + "\n";
    out += "Vendor: " + specification.getVendorName().str() + "\n";
    out += "Version: " + specification.getVersion().str() + "\n";
    out += "Description:\n";
    out += specification.getDescription().str();
    if (out.back() != '\n')
        out += '\n';
    return out;
}

bool hasLeadingNumber(const std::string& value) {
    // The same prefix the standard text-to-integer conversion accepts.
    std::size_t i = 0;
    while (i < value.size() && std::isspace(static_cast<unsigned char>(value[i])))
        ++i;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        ++i;
    return i < value.size() && std::isdigit(static_cast<unsigned char>(value[i]));
}

std::vector<std::string> findDoubtfulValues(const ORXOptionList& options,
                                            const std::vector<std::string>& names) {
    std::vector<std::string> warnings;
    for (int i = 0; i < options.getCount(); ++i) {
        const ORXOption& option = *options.getOption(i);
        if (std::find(names.begin(), names.end(), option.getName().str()) == names.end()) {
            continue;
        }
        const std::string& value = option.getValue().str();
        bool doubtful = !option.getEnumeration().empty() && !option.accepts(option.getValue());
        if (option.getKind() == "Numeric" && !hasLeadingNumber(value))
            doubtful = true;
        if (doubtful) {
            warnings.push_back("warning: '" + value + "' is not a value of '" +
                               option.getName().str() + "'; the bridge will use its default");
        }
    }
    return warnings;
}

}  // namespace cli
