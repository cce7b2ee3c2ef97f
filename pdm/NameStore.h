#pragma once
// The texts of the exported names and codes, each stored once.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "orx/ORXString.h"

// A store of texts, each kept once however many objects carry it: column
// names such as ID repeat in every table, and an object's code is mostly its
// name. The strings never move, so a reference to one stays valid until
// clear(); a position stays valid until clear() too.
class NameStore {
  public:
    // The position of `text`, stored first if it is new. Never 0.
    std::uint32_t intern(std::string_view text);
    // Asks the processor for the index slot of `text` ahead of interning it.
    void fetchAhead(std::string_view text) const;
    // The text at a position that intern() gave.
    const ORXString& at(std::uint32_t position) const {
        return blocks_[position / kBlock][position % kBlock];
    }
    // The number of texts stored.
    std::size_t size() const { return count_ - 1; }
    // Forgets every text and frees the memory.
    void clear();

  private:
    static constexpr std::uint32_t kBlock = 1024;
    struct Slot {
        std::uint32_t position;  // 0: free
        std::uint32_t hash;      // the low 32 bits of the text's hash
    };
    void growSlots();

    // The strings, in blocks that never move; position 0 is left unused.
    std::vector<std::unique_ptr<ORXString[]>> blocks_;
    std::uint32_t count_ = 1;
    // An open-addressing index of the positions by text; its size is a power
    // of two at least twice the number of texts.
    std::vector<Slot> slots_;
};
