// The name index of large classes and design packages.

#include "ModelUtil.h"
#include "OpenAddressing.h"

ORXNameIndex::~ORXNameIndex() {
    if (slots_)
        orxPoolFree(slots_, (mask_ + 1) * sizeof(Slot));
}

std::uint64_t ORXNameIndex::hashOf(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (unsigned char c : name)
        hash = (hash ^ c) * 1099511628211ULL;
    return hash ^ (hash >> 29);
}

namespace {

const auto isFree = [](const auto& slot) { return !slot.part; };
const auto homeOf = [](const auto& slot, std::size_t mask) {
    return static_cast<std::size_t>(slot.hash) & mask;
};

}  // namespace

void ORXNameIndex::grow() {
    const std::size_t oldCount = slots_ ? mask_ + 1 : 0;
    const std::size_t count = oldCount ? oldCount * 2 : 64;
    slots_ = orxmodel::regrowSlots(slots_, oldCount, count, isFree, homeOf);
    mask_ = count - 1;
}

void ORXNameIndex::add(ORXObject* part) {
    // At most half the slots in use keeps the probes short.
    if (!slots_ || (used_ + 1) * 2 > mask_ + 1)
        grow();
    const std::uint64_t hash = hashOf(part->getName().view());
    std::size_t at = hash & mask_;
    while (slots_[at].part)
        at = (at + 1) & mask_;
    slots_[at] = Slot{part, hash};
    ++used_;
}

void ORXNameIndex::remove(const ORXObject* part) {
    if (!slots_)
        return;
    std::size_t at = hashOf(part->getName().view()) & mask_;
    while (slots_[at].part != part) {
        if (!slots_[at].part)
            return;
        at = (at + 1) & mask_;
    }
    orxmodel::removeSlot(slots_, mask_, at, isFree, homeOf);
    --used_;
}

ORXObject* ORXNameIndex::find(std::string_view name, bool* several) const {
    *several = false;
    if (!slots_)
        return nullptr;
    const std::uint64_t hash = hashOf(name);
    ORXObject* found = nullptr;
    for (std::size_t at = hash & mask_; slots_[at].part; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if (slot.hash != hash || slot.part->getName().view() != name)
            continue;
        if (found) {
            *several = true;
            break;
        }
        found = slot.part;
    }
    return found;
}
