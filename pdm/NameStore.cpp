// The texts of the exported names and codes, each stored once.

#include "pdm/NameStore.h"

#include <functional>

namespace {

std::size_t hashText(std::string_view text) {
    return std::hash<std::string_view>()(text);
}

}  // namespace

std::uint32_t NameStore::intern(std::string_view text) {
    if (2 * static_cast<std::size_t>(count_) > slots_.size())
        growSlots();
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hashText(text) & mask;
    while (std::uint32_t position = slots_[slot]) {
        if (at(position).view() == text)
            return position;
        slot = (slot + 1) & mask;
    }
    const std::uint32_t position = count_;
    if (position / kBlock == blocks_.size())
        blocks_.push_back(std::make_unique<ORXString[]>(kBlock));
    blocks_[position / kBlock][position % kBlock] = ORXString(text);
    ++count_;
    slots_[slot] = position;
    return position;
}

void NameStore::growSlots() {
    std::vector<std::uint32_t> larger(slots_.empty() ? 64 : slots_.size() * 2, 0);
    const std::size_t mask = larger.size() - 1;
    for (std::uint32_t position = 1; position < count_; ++position) {
        std::size_t slot = hashText(at(position).view()) & mask;
        while (larger[slot])
            slot = (slot + 1) & mask;
        larger[slot] = position;
    }
    slots_.swap(larger);
}

void NameStore::clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    slots_.clear();
    slots_.shrink_to_fit();
    count_ = 1;
}
