#pragma once
// The two steps that the model's open-addressing tables (the position index
// of long link lists, the name index of large classes and packages) share:
// moving every entry into a larger slot array, and removing an entry without
// leaving a tombstone. Slot counts are powers of two; a slot is free when
// `isFree(slot)` says so, and `homeOf(slot, mask)` is the slot its key hashes
// to. Slot arrays come from the model's pool.

#include <cstddef>

#include "orx/ORXPool.h"

namespace orxmodel {

// A new array of `count` free slots holding the entries of `old` (which had
// `oldCount` slots, 0 when there was none); `old` is given back to the pool.
template <class Slot, class IsFree, class HomeOf>
Slot* regrowSlots(Slot* old, std::size_t oldCount, std::size_t count, IsFree isFree,
                  HomeOf homeOf) {
    auto* slots = static_cast<Slot*>(orxPoolAllocate(count * sizeof(Slot)));
    const std::size_t mask = count - 1;
    for (std::size_t i = 0; i < count; ++i)
        slots[i] = Slot{};
    for (std::size_t i = 0; i < oldCount; ++i) {
        if (isFree(old[i]))
            continue;
        std::size_t at = homeOf(old[i], mask);
        while (!isFree(slots[at]))
            at = (at + 1) & mask;
        slots[at] = old[i];
    }
    if (old)
        orxPoolFree(old, oldCount * sizeof(Slot));
    return slots;
}

// Frees slot `at` by backward-shift deletion: every later entry of its run
// whose home slot does not lie between the hole and itself moves back into
// the hole, so that every key stays reachable from its home.
template <class Slot, class IsFree, class HomeOf>
void removeSlot(Slot* slots, std::size_t mask, std::size_t at, IsFree isFree, HomeOf homeOf) {
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask; !isFree(slots[next]); next = (next + 1) & mask) {
        const std::size_t home = homeOf(slots[next], mask);
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            slots[hole] = slots[next];
            hole = next;
        }
    }
    slots[hole] = Slot{};
}

}  // namespace orxmodel
