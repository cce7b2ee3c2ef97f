#pragma once
// The tables of exported names and codes that must be unique ignoring case.

#include <string_view>

#include "orx/ORXHashtable.h"
#include "orx/ORXString.h"

// A hashtable of pointers to ORXString whose keys are equal when their texts
// are equal ignoring ASCII case. The hash folds case too, so a lookup compares
// only with names that are likely equal, never with every name of the same
// length.
class ORXNameHashtable : public ORXHashtable {
  public:
    explicit ORXNameHashtable(int bucketCount) : ORXHashtable(bucketCount) {}
    // Asks the processor for the bucket of `text` ahead of adding it.
    void fetchAhead(std::string_view text) const;

  protected:
    int compareEntries(const void* a, const void* b) const override;
    int compareKey(const void* key, const void* entry) const override;
    std::size_t hashEntry(const void* entry) const override;
    std::size_t hashKey(const void* key) const override;
};

// Case-insensitive byte comparison (ASCII letters fold): negative, zero or positive.
int compareIgnoringCase(const ORXString& a, const ORXString& b);
