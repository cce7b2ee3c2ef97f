#pragma once
// Fetching model objects ahead of a walk over a long list of them.

#include <cstdint>
#include <vector>

#include "orx/ORXModel.h"

// The objects of a long list (a package's elements, a diagram's symbols) lie
// far apart in a large model, each on a page of its own, and a walk reads a
// field or two of each: a cache and TLB miss per object. Asking for the
// object a few items ahead lets its lines arrive while the walk works on the
// current one. The first two lines of an object hold its type and the
// bridge's record.
constexpr int kFetchAhead = 8;

inline void fetchAhead(const void* object) {
    __builtin_prefetch(object);
    __builtin_prefetch(static_cast<const char*>(object) + 64);
}

// A walk over the elements of a package whose kinds (ElementKind, as
// Bridge::packageElementKinds notes them) `wanted` accepts, in the order of
// the package's element list. It reads no other element object, and fetches
// the object of the element kFetchAhead wanted ones ahead, so that a walk over
// only some elements of a large package still overlaps their cache misses.
template <typename Wanted>
class KindWalk {
  public:
    KindWalk(ORXDesignPackage* package, const std::vector<std::uint8_t>& kinds, Wanted wanted)
        : package_(package),
          kinds_(kinds),
          wanted_(wanted),
          count_(static_cast<int>(kinds.size())) {
        ahead_ = -1;
        for (int i = 0; i < kFetchAhead; ++i)
            fetchNext();
        current_ = next(0);
    }
    // The current element, or null at the end.
    ORXModelObject* element() const {
        return current_ < count_ ? package_->getModelElement(current_) : nullptr;
    }
    std::uint8_t kind() const { return kinds_[current_]; }
    void advance() {
        fetchNext();
        current_ = next(current_ + 1);
    }

  private:
    int next(int from) const {
        while (from < count_ && !wanted_(kinds_[from]))
            ++from;
        return from;
    }
    void fetchNext() {
        ahead_ = next(ahead_ + 1);
        if (ahead_ < count_)
            fetchAhead(package_->getModelElement(ahead_));
    }

    ORXDesignPackage* package_;
    const std::vector<std::uint8_t>& kinds_;
    Wanted wanted_;
    int count_;
    int ahead_;
    int current_;
};

template <typename Wanted>
KindWalk<Wanted> walkKinds(ORXDesignPackage* package, const std::vector<std::uint8_t>& kinds,
                           Wanted wanted) {
    return KindWalk<Wanted>(package, kinds, wanted);
}
