// The framework's chained hashtable.

#include "orx/ORXHashtable.h"

#include <cstdint>
#include <functional>

ORXHashtable::ORXHashtable(int bucketCount)
    : buckets_(bucketCount > 0 ? static_cast<std::size_t>(bucketCount) : 1, Bucket{kNone, kNone}) {}

void ORXHashtable::link(std::size_t b, std::uint32_t n) {
    nodes_[n].next = kNone;
    Bucket& bucket = buckets_[b];
    if (bucket.tail == kNone)
        bucket.head = n;
    else
        nodes_[bucket.tail].next = n;
    bucket.tail = n;
}

std::uint32_t ORXHashtable::findNode(const void* key, std::uint32_t hash, bool entry) const {
    for (std::uint32_t n = buckets_[bucketOf(hash)].head; n != kNone; n = nodes_[n].next) {
        const Node& node = nodes_[n];
        if (node.hash == hash &&
            (entry ? compareEntries(key, node.key) : compareKey(key, node.key)) == 0)
            return n;
    }
    return kNone;
}

bool ORXHashtable::add(const void* key, bool unique, Iterator* where) {
    const std::uint32_t hash = fold(hashEntry(key));
    if (unique) {
        const std::uint32_t equal = findNode(key, hash, true);
        if (equal != kNone) {
            if (where)
                *where = Iterator{bucketOf(hash), equal, true};
            return false;
        }
    }
    // Grow before inserting so that the position handed back stays valid.
    if (count_ + 1 > 2 * buckets_.size())
        grow();
    const std::size_t b = bucketOf(hash);
    std::uint32_t n = freeNodes_;
    if (n != kNone) {
        freeNodes_ = nodes_[n].next;
        nodes_[n] = Node{key, kNone, hash};
    } else {
        n = static_cast<std::uint32_t>(nodes_.size());
        nodes_.push_back(Node{key, kNone, hash});
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
    const std::uint32_t n = findNode(key, fold(hashKey(key)), false);
    return n == kNone ? nullptr : nodes_[n].key;
}

const void* ORXHashtable::findLast(const void* key) const {
    const std::uint32_t hash = fold(hashKey(key));
    const void* last = nullptr;
    for (std::uint32_t n = buckets_[bucketOf(hash)].head; n != kNone; n = nodes_[n].next)
        if (nodes_[n].hash == hash && compareKey(key, nodes_[n].key) == 0)
            last = nodes_[n].key;
    return last;
}

bool ORXHashtable::remove(const void* key) {
    const std::uint32_t hash = fold(hashKey(key));
    const std::size_t b = bucketOf(hash);
    std::uint32_t previous = kNone;
    Bucket& bucket = buckets_[b];
    for (std::uint32_t n = bucket.head; n != kNone; previous = n, n = nodes_[n].next) {
        if (nodes_[n].hash != hash || compareKey(key, nodes_[n].key) != 0)
            continue;
        const std::uint32_t next = nodes_[n].next;
        if (previous == kNone)
            bucket.head = next;
        else
            nodes_[previous].next = next;
        if (bucket.tail == n)
            bucket.tail = previous;
        nodes_[n] = Node{nullptr, freeNodes_, 0};
        freeNodes_ = n;
        --count_;
        return true;
    }
    return false;
}

void ORXHashtable::removeAll() {
    buckets_.assign(buckets_.size(), Bucket{kNone, kNone});
    nodes_.clear();
    freeNodes_ = kNone;
    count_ = 0;
}

void ORXHashtable::reserve(int keyCount) {
    if (keyCount <= 0)
        return;
    const auto keys = static_cast<std::size_t>(keyCount);
    while (buckets_.size() < keys)
        grow();
    nodes_.reserve(keys);
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

// Doubling splits the chain of each bucket b between b and b + the old
// count (a hash modulo twice the count is one of the two); appending keeps
// the chain's order in both. The nodes keep their hashes: no key is read
// again.
void ORXHashtable::grow() {
    const std::size_t oldCount = buckets_.size();
    buckets_.resize(2 * oldCount, Bucket{kNone, kNone});
    for (std::size_t b = 0; b < oldCount; ++b) {
        std::uint32_t n = buckets_[b].head;
        buckets_[b] = Bucket{kNone, kNone};
        while (n != kNone) {
            const std::uint32_t next = nodes_[n].next;
            link(bucketOf(nodes_[n].hash), n);
            n = next;
        }
    }
}
