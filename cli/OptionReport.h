#pragma once
// What pdm-export prints about the bridge: its options, its specification,
// and the warnings for values the bridge will not understand.

#include <string>
#include <vector>

#include "orx/ORXOption.h"
#include "orx/ORXVelmar.h"

namespace cli {

// Each option as "NAME (KIND)", "  default: VALUE", for enumerated options
// "  values:" and one "    VALUE" line per value, then the description lines
// indented by two blanks; a blank line between options.
std::string formatOptionList(const ORXOptionList& options);

// "Tool: ", "Vendor: ", "Version: " lines, then "Description:" and the
// description as it stands.
std::string formatSpecification(const ORXBridgeSpecification& specification);

// True when `value` starts, after blanks and an optional sign, with a
// decimal digit: the only form from which the bridge reads a number.
bool hasLeadingNumber(const std::string& value);

// One warning line (without the line feed) for every option in `names`
// whose current value lies outside its enumeration, or that is numeric
// without a leading number; in list order, each option once.
std::vector<std::string> findDoubtfulValues(const ORXOptionList& options,
                                            const std::vector<std::string>& names);

}  // namespace cli
