// The position index of long link lists: open addressing with linear probing
// and backward-shift deletion, so that no removal leaves a tombstone.

#include <cstdint>

#include "OpenAddressing.h"
#include "orx/ORXModel.h"

ORXPointerIndex::~ORXPointerIndex() {
    if (slots_)
        orxPoolFree(slots_, (mask_ + 1) * sizeof(Slot));
}

namespace {

const auto isFree = [](const auto& slot) { return !slot.key; };

}  // namespace

std::ptrdiff_t ORXPointerIndex::find(const void* key) const {
    if (!slots_)
        return -1;
    for (std::size_t at = homeSlot(key, mask_);; at = (at + 1) & mask_) {
        if (slots_[at].key == key)
            return static_cast<std::ptrdiff_t>(slots_[at].position);
        if (!slots_[at].key)
            return -1;
    }
}

void ORXPointerIndex::grow() {
    const std::size_t oldCount = slots_ ? mask_ + 1 : 0;
    const std::size_t count = oldCount ? oldCount * 2 : 32;
    slots_ = orxmodel::regrowSlots(slots_, oldCount, count, isFree, &ORXPointerIndex::homeOf);
    mask_ = count - 1;
}

void ORXPointerIndex::set(const void* key, std::size_t position) {
    // At most half the slots in use keeps the probes short.
    if (!slots_ || (used_ + 1) * 2 > mask_ + 1)
        grow();
    std::size_t at = homeSlot(key, mask_);
    while (slots_[at].key && slots_[at].key != key)
        at = (at + 1) & mask_;
    if (!slots_[at].key)
        ++used_;
    slots_[at] = Slot{key, position};
}

void ORXPointerIndex::erase(const void* key) {
    if (!slots_)
        return;
    std::size_t at = homeSlot(key, mask_);
    while (slots_[at].key != key) {
        if (!slots_[at].key)
            return;
        at = (at + 1) & mask_;
    }
    orxmodel::removeSlot(slots_, mask_, at, isFree, &ORXPointerIndex::homeOf);
    --used_;
}
