// The position index of long link lists: open addressing with linear probing
// and backward-shift deletion, so that no removal leaves a tombstone.

#include <cstdint>

#include "orx/ORXModel.h"

ORXPointerIndex::~ORXPointerIndex() {
    if (slots_)
        orxPoolFree(slots_, (mask_ + 1) * sizeof(Slot));
}

std::size_t ORXPointerIndex::slotOf(const void* key) const {
    // Objects are 16-byte aligned: the low bits carry nothing; the multiply
    // spreads the rest over the bits the mask keeps.
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) >> 4;
    bits *= 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(bits >> 20) & mask_;
}

std::ptrdiff_t ORXPointerIndex::find(const void* key) const {
    if (!slots_)
        return -1;
    for (std::size_t at = slotOf(key);; at = (at + 1) & mask_) {
        if (slots_[at].key == key)
            return static_cast<std::ptrdiff_t>(slots_[at].position);
        if (!slots_[at].key)
            return -1;
    }
}

void ORXPointerIndex::grow() {
    Slot* old = slots_;
    const std::size_t oldCount = slots_ ? mask_ + 1 : 0;
    const std::size_t count = oldCount ? oldCount * 2 : 32;
    slots_ = static_cast<Slot*>(orxPoolAllocate(count * sizeof(Slot)));
    mask_ = count - 1;
    for (std::size_t i = 0; i < count; ++i)
        slots_[i] = Slot{nullptr, 0};
    for (std::size_t i = 0; i < oldCount; ++i) {
        if (!old[i].key)
            continue;
        std::size_t at = slotOf(old[i].key);
        while (slots_[at].key)
            at = (at + 1) & mask_;
        slots_[at] = old[i];
    }
    if (old)
        orxPoolFree(old, oldCount * sizeof(Slot));
}

void ORXPointerIndex::set(const void* key, std::size_t position) {
    // At most half the slots in use keeps the probes short.
    if (!slots_ || (used_ + 1) * 2 > mask_ + 1)
        grow();
    std::size_t at = slotOf(key);
    while (slots_[at].key && slots_[at].key != key)
        at = (at + 1) & mask_;
    if (!slots_[at].key)
        ++used_;
    slots_[at] = Slot{key, position};
}

void ORXPointerIndex::erase(const void* key) {
    if (!slots_)
        return;
    std::size_t at = slotOf(key);
    while (slots_[at].key != key) {
        if (!slots_[at].key)
            return;
        at = (at + 1) & mask_;
    }
    // Moves back every later entry of the run whose home slot lies at or
    // before the hole, so that every key stays reachable from its home.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask_; slots_[next].key; next = (next + 1) & mask_) {
        const std::size_t home = slotOf(slots_[next].key);
        const bool between =
            hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!between) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole] = Slot{nullptr, 0};
    --used_;
}
