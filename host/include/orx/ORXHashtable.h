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
// allocates nothing but, now and then, a larger array.
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
    int getCount() const override { return static_cast<int>(count_); }
    int getBucketCount() const { return static_cast<int>(heads_.size()); }
    // Calls `f` for every key, bucket by bucket, each in the order of adding.
    template <class F>
    void forEach(F f) const {
        for (std::uint32_t head : heads_)
            for (std::uint32_t n = head; n != kNone; n = nodes_[n].next)
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

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Node {
        const void* key;
        std::uint32_t next;
    };
    std::size_t bucketOf(std::size_t hash) const { return hash % heads_.size(); }
    // Appends node `n` to the chain of bucket `b`.
    void link(std::size_t b, std::uint32_t n);
    void grow();

    // Per bucket, the first and last node of its chain (kNone: empty).
    std::vector<std::uint32_t> heads_, tails_;
    // The nodes; those of removed keys are chained from freeNodes_ for reuse.
    std::vector<Node> nodes_;
    std::uint32_t freeNodes_ = kNone;
    std::size_t count_ = 0;
};
