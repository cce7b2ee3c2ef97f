// The framework's chained hashtable.

#include "orx/ORXHashtable.h"

#include <cstdint>
#include <functional>

ORXHashtable::ORXHashtable(int bucketCount)
    : heads_(bucketCount > 0 ? static_cast<std::size_t>(bucketCount) : 1, kNone),
      tails_(heads_.size(), kNone) {}

void ORXHashtable::link(std::size_t b, std::uint32_t n) {
    nodes_[n].next = kNone;
    if (tails_[b] == kNone)
        heads_[b] = n;
    else
        nodes_[tails_[b]].next = n;
    tails_[b] = n;
}

bool ORXHashtable::add(const void* key, bool unique, Iterator* where) {
    std::size_t b = bucketOf(hashEntry(key));
    if (unique) {
        for (std::uint32_t n = heads_[b]; n != kNone; n = nodes_[n].next) {
            if (compareEntries(key, nodes_[n].key) == 0) {
                if (where)
                    *where = Iterator{b, n, true};
                return false;
            }
        }
    }
    // Grow before inserting so that the position handed back stays valid.
    if (count_ + 1 > 2 * heads_.size()) {
        grow();
        b = bucketOf(hashEntry(key));
    }
    std::uint32_t n = freeNodes_;
    if (n != kNone) {
        freeNodes_ = nodes_[n].next;
        nodes_[n].key = key;
    } else {
        n = static_cast<std::uint32_t>(nodes_.size());
        nodes_.push_back(Node{key, kNone});
    }
    link(b, n);
    ++count_;
    if (where)
        *where = Iterator{b, n, true};
    return true;
}

bool ORXHashtable::contains(const void* key) const {
    return findFirst(key) != nullptr;
}

// Keys are appended to their bucket's chain, so within one bucket the stored
// order is the order of insertion (growing keeps the relative order of equal
// keys).
const void* ORXHashtable::findFirst(const void* key) const {
    for (std::uint32_t n = heads_[bucketOf(hashKey(key))]; n != kNone; n = nodes_[n].next)
        if (compareKey(key, nodes_[n].key) == 0)
            return nodes_[n].key;
    return nullptr;
}

const void* ORXHashtable::findLast(const void* key) const {
    const void* last = nullptr;
    for (std::uint32_t n = heads_[bucketOf(hashKey(key))]; n != kNone; n = nodes_[n].next)
        if (compareKey(key, nodes_[n].key) == 0)
            last = nodes_[n].key;
    return last;
}

bool ORXHashtable::remove(const void* key) {
    const std::size_t b = bucketOf(hashKey(key));
    std::uint32_t previous = kNone;
    for (std::uint32_t n = heads_[b]; n != kNone; previous = n, n = nodes_[n].next) {
        if (compareKey(key, nodes_[n].key) != 0)
            continue;
        const std::uint32_t next = nodes_[n].next;
        if (previous == kNone)
            heads_[b] = next;
        else
            nodes_[previous].next = next;
        if (tails_[b] == n)
            tails_[b] = previous;
        nodes_[n] = Node{nullptr, freeNodes_};
        freeNodes_ = n;
        --count_;
        return true;
    }
    return false;
}

void ORXHashtable::removeAll() {
    heads_.assign(heads_.size(), kNone);
    tails_.assign(tails_.size(), kNone);
    nodes_.clear();
    freeNodes_ = kNone;
    count_ = 0;
}

int ORXHashtable::compareEntries(const void* a, const void* b) const {
    return std::less<const void*>()(a, b) ? -1 : (std::less<const void*>()(b, a) ? 1 : 0);
}

int ORXHashtable::compareKey(const void* key, const void* entry) const {
    return compareEntries(key, entry);
}

// Pointers are aligned, so their low bits are mostly zero; mixing spreads
// them over the buckets.
std::size_t ORXHashtable::hashEntry(const void* entry) const {
    auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(entry));
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return static_cast<std::size_t>(h);
}

std::size_t ORXHashtable::hashKey(const void* key) const {
    return hashEntry(key);
}

// The chains are rebuilt bucket by bucket in their order, so keys that meet
// in a new bucket keep their relative order.
void ORXHashtable::grow() {
    std::vector<std::uint32_t> oldHeads(heads_.size() * 2, kNone);
    oldHeads.swap(heads_);
    tails_.assign(heads_.size(), kNone);
    for (std::uint32_t head : oldHeads) {
        for (std::uint32_t n = head; n != kNone;) {
            const std::uint32_t next = nodes_[n].next;
            link(bucketOf(hashEntry(nodes_[n].key)), n);
            n = next;
        }
    }
}
