// The model's small-block pool: size classes of 16 bytes carved from chunks
// that double from 64 KiB to 4 MiB, with a free list per class. (Huge pages
// for the chunks were tried: they saved a little user time and cost more
// system time on first touch, so the chunks are ordinary heap blocks.)

#include "orx/ORXPool.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define ORX_POOL_PASS_THROUGH 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORX_POOL_PASS_THROUGH 1
#endif
#endif

namespace {

// Under AddressSanitizer every request goes to the heap, as large ones do.
#ifdef ORX_POOL_PASS_THROUGH
constexpr bool kPassThrough = true;
#else
constexpr bool kPassThrough = false;
#endif

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = kORXPoolLargest / kGranule;
constexpr std::size_t kFirstChunk = std::size_t{64} << 10;
constexpr std::size_t kLargestChunk = std::size_t{4} << 20;

struct FreeBlock {
    FreeBlock* next;
};

// A lock for the few instructions of an allocation; waiters yield.
class SpinLock {
  public:
    void lock() noexcept {
        while (flag_.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() noexcept { flag_.clear(std::memory_order_release); }

  private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

class LockGuard {
  public:
    explicit LockGuard(SpinLock& lock) : lock_(lock) { lock_.lock(); }
    ~LockGuard() { lock_.unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

  private:
    SpinLock& lock_;
};

// Constant-initialised, so it works for objects made before main() and
// stays usable while other static objects are destroyed.
struct Pool {
    SpinLock lock;
    FreeBlock* freeLists[kClasses] = {};
    char* next = nullptr;  // the unused part of the current chunk
    char* end = nullptr;
    // Where the pages of the current chunk stop being mapped ahead (end for a
    // chunk that is left to fault its pages in).
    char* populated = nullptr;
    // The chunks, each linked to the one before through its first granule,
    // so that leak checkers see them held.
    void* lastChunk = nullptr;
    std::size_t nextChunk = kFirstChunk;
    std::size_t chunkBytes = 0;
    std::size_t liveBytes = 0;
};

constinit Pool pool;

std::size_t roundedSize(std::size_t bytes) {
    return bytes == 0 ? kGranule : (bytes + kGranule - 1) & ~(kGranule - 1);
}

// Chunks of this size and more have their pages mapped ahead of use, this
// many bytes at a time.
constexpr std::size_t kPopulatedChunk = std::size_t{1} << 20;
constexpr std::size_t kPopulateStep = std::size_t{512} << 10;

// Maps the pages of [from, to) in one call: faulting them in one by one as
// the model grows into them costs a trap per page. Only advice: where the
// kernel does not know it, the pages come on first touch as before.
void prefault([[maybe_unused]] char* from, [[maybe_unused]] char* to) {
#ifdef MADV_POPULATE_WRITE
    constexpr std::uintptr_t kPage = 4096;
    const std::uintptr_t first =
        (reinterpret_cast<std::uintptr_t>(from) + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(to) & ~(kPage - 1);
    if (first < last)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
}

// Maps the pages of the current chunk a step ahead of `needed`, so that the
// pages of a chunk's unused tail (up to a whole chunk when the model ends
// early in it) are never mapped.
void populateUpTo(char* needed) {
    while (pool.populated < needed) {
        char* to = pool.end - pool.populated > static_cast<std::ptrdiff_t>(kPopulateStep)
                       ? pool.populated + kPopulateStep
                       : pool.end;
        prefault(pool.populated, to);
        pool.populated = to;
    }
}

// Takes a new chunk from the heap; the rest of the old one is left unused
// (at most one largest block's worth).
void grow() {
    const std::size_t size = pool.nextChunk;
    char* chunk = static_cast<char*>(::operator new(size));
    pool.populated = size >= kPopulatedChunk ? chunk : chunk + size;
    *reinterpret_cast<void**>(chunk) = pool.lastChunk;
    pool.lastChunk = chunk;
    pool.next = chunk + kGranule;
    pool.end = chunk + size;
    pool.chunkBytes += size;
    if (pool.nextChunk < kLargestChunk)
        pool.nextChunk *= 2;
}

}  // namespace

void* orxPoolAllocate(std::size_t bytes) {
    if (kPassThrough || bytes > kORXPoolLargest)
        return ::operator new(bytes);
    const std::size_t size = roundedSize(bytes);
    LockGuard guard(pool.lock);
    pool.liveBytes += size;
    FreeBlock*& list = pool.freeLists[size / kGranule - 1];
    if (list) {
        FreeBlock* block = list;
        list = block->next;
        return block;
    }
    if (static_cast<std::size_t>(pool.end - pool.next) < size) {
        try {
            grow();
        } catch (...) {
            pool.liveBytes -= size;
            throw;
        }
    }
    void* block = pool.next;
    pool.next += size;
    if (pool.next > pool.populated)
        populateUpTo(pool.next);
    return block;
}

void orxPoolFree(void* block, std::size_t bytes) noexcept {
    if (!block)
        return;
    if (kPassThrough || bytes > kORXPoolLargest) {
        ::operator delete(block);
        return;
    }
    const std::size_t size = roundedSize(bytes);
    LockGuard guard(pool.lock);
    pool.liveBytes -= size;
    FreeBlock*& list = pool.freeLists[size / kGranule - 1];
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = list;
    list = freed;
}

ORXPoolStatistics orxPoolStatistics() {
    LockGuard guard(pool.lock);
    ORXPoolStatistics statistics;
    statistics.chunkBytes = pool.chunkBytes;
    statistics.liveBytes = pool.liveBytes;
    statistics.pooling = !kPassThrough;
    return statistics;
}
