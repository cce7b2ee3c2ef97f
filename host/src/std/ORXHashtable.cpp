// The framework's chained hashtable.

#include "orx/ORXHashtable.h"

#include <cstdint>
#include <functional>

ORXHashtable::ORXHashtable(int bucketCount)
    : buckets_(bucketCount > 0 ? static_cast<std::size_t>(bucketCount) : 1) {}

bool ORXHashtable::add(const void* key, bool unique, Iterator* where) {
    std::size_t b = bucketOf(hashEntry(key));
    if (unique) {
        const auto& bucket = buckets_[b];
        for (std::size_t i = 0; i < bucket.size(); ++i) {
            if (compareEntries(key, bucket[i]) == 0) {
                if (where)
                    *where = Iterator{b, i, true};
                return false;
            }
        }
    }
    // Grow before inserting so that the position handed back stays valid.
    if (count_ + 1 > 2 * buckets_.size()) {
        grow();
        b = bucketOf(hashEntry(key));
    }
    buckets_[b].push_back(key);
    ++count_;
    if (where)
        *where = Iterator{b, buckets_[b].size() - 1, true};
    return true;
}

bool ORXHashtable::contains(const void* key) const {
    return findFirst(key) != nullptr;
}

// Keys are appended to their bucket, so within one bucket the stored order is
// the order of insertion (growing keeps the relative order of equal keys).
const void* ORXHashtable::findFirst(const void* key) const {
    for (const void* entry : buckets_[bucketOf(hashKey(key))])
        if (compareKey(key, entry) == 0)
            return entry;
    return nullptr;
}

const void* ORXHashtable::findLast(const void* key) const {
    const auto& bucket = buckets_[bucketOf(hashKey(key))];
    for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
        if (compareKey(key, *it) == 0)
            return *it;
    return nullptr;
}

bool ORXHashtable::remove(const void* key) {
    auto& bucket = buckets_[bucketOf(hashKey(key))];
    for (auto it = bucket.begin(); it != bucket.end(); ++it) {
        if (compareKey(key, *it) == 0) {
            bucket.erase(it);
            --count_;
            return true;
        }
    }
    return false;
}

void ORXHashtable::removeAll() {
    for (auto& bucket : buckets_)
        bucket.clear();
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

void ORXHashtable::grow() {
    std::vector<std::vector<const void*>> larger(buckets_.size() * 2);
    for (const auto& bucket : buckets_)
        for (const void* entry : bucket)
            larger[hashEntry(entry) % larger.size()].push_back(entry);
    buckets_.swap(larger);
}
