// The texts of the exported names and codes, each stored once.

#include "pdm/NameStore.h"

#include <functional>

namespace {

std::size_t hashText(std::string_view text) {
    return std::hash<std::string_view>()(text);
}

}  // namespace

// A slot keeps the text's hash beside its position, so a probe reads the
// stored text only when the hashes match: the texts lie all over the blocks,
// and most probes of a new text meet only other texts.
std::uint32_t NameStore::intern(std::string_view text) {
    if (2 * static_cast<std::size_t>(count_) > slots_.size())
        growSlots();
    const std::size_t mask = slots_.size() - 1;
    const std::size_t hash = hashText(text);
    const auto tag = static_cast<std::uint32_t>(hash);
    std::size_t slot = hash & mask;
    while (std::uint32_t position = slots_[slot].position) {
        if (slots_[slot].hash == tag && at(position).view() == text)
            return position;
        slot = (slot + 1) & mask;
    }
    const std::uint32_t position = count_;
    if (position / kBlock == blocks_.size())
        blocks_.push_back(std::make_unique<ORXString[]>(kBlock));
    blocks_[position / kBlock][position % kBlock] = ORXString(text);
    ++count_;
    slots_[slot] = Slot{position, tag};
    return position;
}

void NameStore::fetchAhead(std::string_view text) const {
    if (!slots_.empty())
        __builtin_prefetch(&slots_[hashText(text) & (slots_.size() - 1)]);
}

// The sizes are powers of two no larger than 2^32, so the kept 32 bits of a
// hash place a text as its whole hash would.
void NameStore::growSlots() {
    std::vector<Slot> larger(slots_.empty() ? 64 : slots_.size() * 2, Slot{0, 0});
    const std::size_t mask = larger.size() - 1;
    for (const Slot& old : slots_) {
        if (old.position == 0)
            continue;
        std::size_t slot = old.hash & mask;
        while (larger[slot].position)
            slot = (slot + 1) & mask;
        larger[slot] = old;
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
