#pragma once
// The hashtable of the host framework: a set of untyped keys whose equality
// and hash are virtual operations that derived tables replace.

#include <cstddef>
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
// keys. It grows when it holds more than twice as many keys as buckets.
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
    int getBucketCount() const { return static_cast<int>(buckets_.size()); }
    // Calls `f` for every key, bucket by bucket.
    template <class F>
    void forEach(F f) const {
        for (const auto& bucket : buckets_)
            for (const void* key : bucket)
                f(key);
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
    std::size_t bucketOf(std::size_t hash) const { return hash % buckets_.size(); }
    void grow();

    std::vector<std::vector<const void*>> buckets_;
    std::size_t count_ = 0;
};
