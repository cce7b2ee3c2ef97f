#pragma once
// The hashtable of the host framework: a set of untyped keys whose equality
// and hash are virtual operations that derived tables replace.

#include <cstddef>
#include <cstdint>
#include <vector>

// The root of the framework's containers.
class _ORXContainer {
  public:
    virtual ~_ORXContainer() = default;
    virtual int getCount() const = 0;
};

class ORXContainer : public virtual _ORXContainer {
  public:
    ~ORXContainer() override = default;
};

// A chained hashtable of keys (untyped pointers). The table never owns its
// keys. It grows when it holds more than twice as many keys as buckets. The
// chains' nodes live in one array and link by position, so adding a key
// allocates nothing but, now and then, a larger array. Each node keeps its
// key's hash: a look-up compares only keys whose hashes match, and growing
// rehashes nothing, so neither reads the keys of other chains' members.
class ORXHashtable : public ORXContainer {
  public:
    // A position in the table, as returned by add() and the find operations.
    struct Iterator {
        std::size_t bucket = 0;
        std::size_t slot = 0;
        bool valid = false;
    };

    // A table of `bucketCount` buckets (at least one).
    explicit ORXHashtable(int bucketCount);
    ~ORXHashtable() override = default;

    // Adds `key`. With `unique` set and an equal key already present, adds
    // nothing and returns false. `where`, when not null, receives the position
    // of the added key (or of the equal key that refused it).
    bool add(const void* key, bool unique, Iterator* where);
    bool contains(const void* key) const;
    // The first (oldest) and last (newest) stored key equal to `key`, or null.
    const void* findFirst(const void* key) const;
    const void* findLast(const void* key) const;
    // Removes the first stored key equal to `key`; false when none is.
    bool remove(const void* key);
    void removeAll();
    // Makes room for `keyCount` keys in all: doubles the buckets until there
    // are at least as many as keys, and reserves their nodes, so that adding
    // them never grows the table. A caller that knows how many keys will come
    // saves the growth and keeps the chains short.
    void reserve(int keyCount);
    int getCount() const override { return static_cast<int>(count_); }
    int getBucketCount() const { return static_cast<int>(buckets_.size()); }
    // Calls `f` for every key, bucket by bucket, each in the order of adding.
    template <class F>
    void forEach(F f) const {
        for (const Bucket& bucket : buckets_)
            for (std::uint32_t n = bucket.head; n != kNone; n = nodes_[n].next)
                f(nodes_[n].key);
    }

  protected:
    // Compares two stored keys: negative, zero or positive. The default
    // compares the pointers themselves.
    virtual int compareEntries(const void* a, const void* b) const;
    // Compares a looked-up key with a stored key.
    virtual int compareKey(const void* key, const void* entry) const;
    // Hash of a stored key (used when the table grows).
    virtual std::size_t hashEntry(const void* entry) const;
    // Hash of a looked-up key.
    virtual std::size_t hashKey(const void* key) const;
    // Asks the processor for the bucket of a key whose hash is `hash`, ahead
    // of adding or looking up that key.
    void fetchBucket(std::size_t hash) const {
        __builtin_prefetch(&buckets_[bucketOf(fold(hash))]);
    }

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Node {
        const void* key;
        std::uint32_t next;
        // The key's hash, folded to 32 bits (fits the node's padding).
        std::uint32_t hash;
    };
    static std::uint32_t fold(std::size_t hash) {
        return static_cast<std::uint32_t>(hash ^ (static_cast<std::uint64_t>(hash) >> 32));
    }
    std::size_t bucketOf(std::uint32_t hash) const { return hash % buckets_.size(); }
    // The first node of the chain of `hash`'s bucket that holds a key equal
    // to `key` (compared by `compareKey` or, with `entry` set, by
    // `compareEntries`), or kNone.
    std::uint32_t findNode(const void* key, std::uint32_t hash, bool entry) const;
    // Appends node `n` to the chain of bucket `b`.
    void link(std::size_t b, std::uint32_t n);
    void grow();

    // Per bucket, the first and last node of its chain (kNone: empty), side
    // by side: adding a key reads both.
    struct Bucket {
        std::uint32_t head, tail;
    };
    std::vector<Bucket> buckets_;
    // The nodes; those of removed keys are chained from freeNodes_ for reuse.
    std::vector<Node> nodes_;
    std::uint32_t freeNodes_ = kNone;
    std::size_t count_ = 0;
};
