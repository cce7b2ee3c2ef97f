#pragma once
// Small list helpers shared by the model's sources.

#include <utility>

#include "orx/ORXModel.h"

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
