#pragma once
// Bridge options as the host shows them and hands them back.

#include <memory>
#include <vector>

#include "orx/ORXString.h"

// One option: its name (the key under which the list holds it), kind
// ("Enumerated", "File", "Numeric", "String"), description, default value,
// allowed values (enumerated options only) and current value, which starts as
// the default.
class ORXOption {
  public:
    ORXOption(const ORXString& name, const ORXString& kind, const ORXString& description,
              const ORXString& defaultValue, std::vector<ORXString> enumeration, bool mandatory);
    virtual ~ORXOption() = default;

    const ORXString& getName() const { return name_; }
    const ORXString& getKind() const { return kind_; }
    const ORXString& getDescription() const { return description_; }
    const ORXString& getDefaultValue() const { return default_; }
    const std::vector<ORXString>& getEnumeration() const { return enumeration_; }
    bool isMandatory() const { return mandatory_; }
    const ORXString& getValue() const { return value_; }
    void setValue(const ORXString& value) { value_ = value; }
    // True when `value` is one of the enumeration's values (always true for
    // options without an enumeration).
    bool accepts(const ORXString& value) const;

    // The file path that the option names: for file options their value,
    // for every other option the empty string.
    virtual ORXString getFilePath() const { return ORXString(); }

  private:
    ORXString name_, kind_, description_, default_;
    std::vector<ORXString> enumeration_;
    bool mandatory_;
    ORXString value_;
};

// A file option, with the file extensions it offers and whether the file is
// written (an output) rather than read.
class ORXFileOption : public ORXOption {
  public:
    ORXFileOption(const ORXString& name, const ORXString& description,
                  const ORXString& defaultValue, std::vector<ORXString> extensions,
                  const ORXString& filterName, bool mandatory, bool output);
    const std::vector<ORXString>& getExtensions() const { return extensions_; }
    const ORXString& getFilterName() const { return filterName_; }
    bool isOutput() const { return output_; }
    ORXString getFilePath() const override { return getValue(); }

  private:
    std::vector<ORXString> extensions_;
    ORXString filterName_;
    bool output_;
};

// The options of one bridge, in the order they were added. The list owns them.
class ORXOptionList {
  public:
    ORXOptionList() = default;
    ORXOptionList(const ORXOptionList&) = delete;
    ORXOptionList& operator=(const ORXOptionList&) = delete;

    void removeAll() { options_.clear(); }
    // Takes ownership of `option`. An option of the same name is replaced in
    // place; returns false then.
    bool add(ORXOption* option);
    // The option of that name, or null.
    ORXOption* get(const ORXString& name) const;
    // The value of the option of that name; empty when there is none.
    ORXString getValue(const ORXString& name) const;
    // Sets the value of the option of that name; false when there is none.
    bool setValue(const ORXString& name, const ORXString& value);
    int getCount() const { return static_cast<int>(options_.size()); }
    ORXOption* getOption(int i) const { return options_[static_cast<std::size_t>(i)].get(); }

  private:
    std::vector<std::unique_ptr<ORXOption>> options_;
};
