#pragma once
// Small list helpers shared by the model's sources.

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "orx/ORXModel.h"
#include "orx/ORXPool.h"

// The names of a large owner's named parts (a class's attributes, a design
// package's classes), so that a name is found without a scan. Small owners
// scan their lists instead and have no index: it starts when an owner holds
// kNameIndexFrom parts. The index holds the parts themselves and reads their
// names, so a part leaves the index before its name changes and comes back
// after. An open-addressing table with linear probing and backward-shift
// deletion: one slot per part, no block per entry.
class ORXNameIndex : public ORXPooled {
  public:
    static constexpr std::size_t kNameIndexFrom = 16;
    ORXNameIndex() = default;
    ~ORXNameIndex();
    ORXNameIndex(const ORXNameIndex&) = delete;
    ORXNameIndex& operator=(const ORXNameIndex&) = delete;

    void add(ORXObject* part);
    void remove(const ORXObject* part);
    // A part named `name` (null when none), and in `several` whether more
    // than one bears it.
    ORXObject* find(std::string_view name, bool* several) const;

  private:
    struct Slot {
        ORXObject* part;
        std::uint64_t hash;
    };
    static std::uint64_t hashOf(std::string_view name);
    void grow();
    Slot* slots_ = nullptr;
    std::size_t mask_ = 0;  // slot count - 1; the count is a power of two
    std::size_t used_ = 0;
};

namespace orxmodel {

// Removes the first occurrence of `item` from `list`; false when absent.
template <class T, class U>
bool eraseOne(ORXPartList<T>& list, const U* item) {
    return list.eraseFirst(item);
}

// Whether `list` holds `item`.
template <class T, class U>
bool holds(const ORXPartList<T>& list, const U* item) {
    return list.contains(item);
}

// Deletes the parts an owner holds in `list`. The list is emptied first and
// every part's link back to its owner (`ownerLink`) cleared, so that the
// parts' destructors do not search the owner's lists while they are being
// torn down.
template <class T, class Link, class Base>
void deleteParts(ORXPartList<T>& list, Link Base::*ownerLink) {
    ORXPartList<T> parts = std::move(list);
    for (T* part : parts)
        part->*ownerLink = nullptr;
    for (T* part : parts)
        delete part;
}

// Hands every item of `list` to `f`, reading the list as it is at each step
// (no snapshot): a traversal adds nothing to the lists it walks.
template <class T>
void visitEach(const ORXPartList<T>& list, const ORXOwnedVisitor& f) {
    for (std::size_t i = 0; i < list.size(); ++i)
        f(list[i]);
}
template <class T>
void visitEach(const ORXLinkList<T>& list, const ORXOwnedVisitor& f) {
    for (int i = 0; i < list.count(); ++i)
        f(list.get(i));
}

}  // namespace orxmodel
