#pragma once
// Small list helpers shared by the model's sources.

#include <algorithm>
#include <vector>

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

}  // namespace orxmodel
