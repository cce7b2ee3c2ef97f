// The name index of large classes and design packages.

#include "ModelUtil.h"

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

void ORXNameIndex::grow() {
    Slot* old = slots_;
    const std::size_t oldCount = slots_ ? mask_ + 1 : 0;
    const std::size_t count = oldCount ? oldCount * 2 : 64;
    slots_ = static_cast<Slot*>(orxPoolAllocate(count * sizeof(Slot)));
    mask_ = count - 1;
    for (std::size_t i = 0; i < count; ++i)
        slots_[i] = Slot{nullptr, 0};
    for (std::size_t i = 0; i < oldCount; ++i) {
        if (!old[i].part)
            continue;
        std::size_t at = old[i].hash & mask_;
        while (slots_[at].part)
            at = (at + 1) & mask_;
        slots_[at] = old[i];
    }
    if (old)
        orxPoolFree(old, oldCount * sizeof(Slot));
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
    // Backward-shift deletion: move later entries of the run back into the
    // hole when their home slot allows it, so that no probe ever stops early.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask_; slots_[next].part; next = (next + 1) & mask_) {
        const std::size_t home = slots_[next].hash & mask_;
        if (((next - home) & mask_) >= ((next - hole) & mask_)) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole] = Slot{nullptr, 0};
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
