#pragma once
// Small list helpers shared by the model's sources.

#include <algorithm>
#include <vector>

#include "orx/ORXModel.h"

namespace orxmodel {

// Removes the first occurrence of `item` from `list`; false when absent.
template <class T, class U>
bool eraseOne(std::vector<T*>& list, const U* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}

// Whether `list` holds `item`.
template <class T, class U>
bool holds(const std::vector<T*>& list, const U* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Empties `list` and hands back its former content, so that an owner can
// detach its parts before deleting them (their destructors then do not search
// the owner's lists).
template <class T>
std::vector<T*> takeAll(std::vector<T*>& list) {
    std::vector<T*> taken;
    taken.swap(list);
    return taken;
}

// Deletes the parts an owner holds in `list`. Every part's link back to its
// owner (`ownerLink`) is cleared first, so that the parts' destructors do not
// search the owner's lists while they are being torn down.
template <class T, class Link, class Base>
void deleteParts(std::vector<T*>& list, Link Base::*ownerLink) {
    std::vector<T*> parts = takeAll(list);
    for (T* part : parts)
        part->*ownerLink = nullptr;
    for (T* part : parts)
        delete part;
}
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
void visitEach(const std::vector<T*>& list, const ORXOwnedVisitor& f) {
    for (std::size_t i = 0; i < list.size(); ++i)
        f(list[i]);
}
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
