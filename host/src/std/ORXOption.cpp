// Bridge options and the option list.

#include "orx/ORXOption.h"

#include <algorithm>
#include <utility>

ORXOption::ORXOption(const ORXString& name, const ORXString& kind, const ORXString& description,
                     const ORXString& defaultValue, std::vector<ORXString> enumeration,
                     bool mandatory)
    : name_(name),
      kind_(kind),
      description_(description),
      default_(defaultValue),
      enumeration_(std::move(enumeration)),
      mandatory_(mandatory),
      value_(defaultValue) {}

bool ORXOption::accepts(const ORXString& value) const {
    if (enumeration_.empty())
        return true;
    return std::find(enumeration_.begin(), enumeration_.end(), value) != enumeration_.end();
}

ORXFileOption::ORXFileOption(const ORXString& name, const ORXString& description,
                             const ORXString& defaultValue, std::vector<ORXString> extensions,
                             const ORXString& filterName, bool mandatory, bool output)
    : ORXOption(name, "File", description, defaultValue, {}, mandatory),
      extensions_(std::move(extensions)),
      filterName_(filterName),
      output_(output) {}

bool ORXOptionList::add(ORXOption* option) {
    std::unique_ptr<ORXOption> owned(option);
    if (!owned)
        return false;
    for (auto& existing : options_) {
        if (existing->getName() == owned->getName()) {
            existing = std::move(owned);
            return false;
        }
    }
    options_.push_back(std::move(owned));
    return true;
}

ORXOption* ORXOptionList::get(const ORXString& name) const {
    for (const auto& option : options_)
        if (option->getName() == name)
            return option.get();
    return nullptr;
}

ORXString ORXOptionList::getValue(const ORXString& name) const {
    const ORXOption* option = get(name);
    return option ? option->getValue() : ORXString();
}

bool ORXOptionList::setValue(const ORXString& name, const ORXString& value) {
    ORXOption* option = get(name);
    if (!option)
        return false;
    option->setValue(value);
    return true;
}
