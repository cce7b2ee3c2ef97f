#pragma once
// The model's small-block pool.
//
// A model is hundreds of thousands of small objects and list blocks that live
// as long as the model. Taking each from the general-purpose heap costs a
// call, a header per block and a page fault per few blocks; the pool carves
// them out of large chunks instead, by size class (multiples of 16 bytes up
// to kORXPoolLargest), and keeps freed blocks on a list per class for the
// next object of that size. Chunks are never given back: the memory of a
// deleted model serves the next one. Larger requests go to the heap.
//
// The pool is safe to use from several threads. Builds with AddressSanitizer
// take every block from the heap, so that each object keeps its own guards.

#include <cstddef>
#include <new>

// Requests above this many bytes go to the heap.
constexpr std::size_t kORXPoolLargest = 1024;

// A block of at least `bytes` bytes, aligned for any object. Raises
// std::bad_alloc when memory runs out.
void* orxPoolAllocate(std::size_t bytes);
// Gives back a block from orxPoolAllocate; `bytes` is the size asked for.
void orxPoolFree(void* block, std::size_t bytes) noexcept;

// Statistics of the pool, for benchmarks: bytes of chunks taken from the heap
// and bytes currently handed out; `pooling` is false in builds that take
// every block from the heap (AddressSanitizer), whose figures stay 0.
struct ORXPoolStatistics {
    std::size_t chunkBytes = 0;
    std::size_t liveBytes = 0;
    bool pooling = true;
};
ORXPoolStatistics orxPoolStatistics();

// A base for classes whose objects come from the pool: the model's objects,
// their side blocks and indexes.
struct ORXPooled {
    static void* operator new(std::size_t size) { return orxPoolAllocate(size); }
    static void operator delete(void* block, std::size_t size) noexcept {
        orxPoolFree(block, size);
    }
};

// A standard allocator over the pool, for the model's private containers.
template <class T>
struct ORXPoolAllocator {
    using value_type = T;
    ORXPoolAllocator() = default;
    template <class U>
    ORXPoolAllocator(const ORXPoolAllocator<U>&) {}  // NOLINT: rebinding is implicit
    T* allocate(std::size_t n) { return static_cast<T*>(orxPoolAllocate(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { orxPoolFree(block, n * sizeof(T)); }
    friend bool operator==(const ORXPoolAllocator&, const ORXPoolAllocator&) { return true; }
};
