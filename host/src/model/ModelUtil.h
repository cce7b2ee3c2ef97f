#pragma once
// Small list helpers shared by the model's sources.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <new>
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

// Texts of a field that nearly always holds one of a few common values (a
// type's data type name, a role's multiplicity), kept as one pointer per
// field: null when empty, else a pointer to the process's one copy of the
// common text or to a text of the field's own from the model's pool. The
// common texts are made when first set and never freed, so that fields freed
// while the process ends still tell them from their own; their storage is
// static, so a short one costs no heap block and a long one a single block
// for the process. `names` must be sorted.
template <std::size_t N>
class CommonTexts {
  public:
    constexpr explicit CommonTexts(const std::string_view (&names)[N]) : names_(names) {}

    // Sets `field` to `value`.
    void set(const ORXString*& field, const ORXString& value) {
        if (value.empty()) {
            release(field);
            return;
        }
        const std::string_view* found = std::lower_bound(names_, names_ + N, value.view());
        if (found != names_ + N && *found == value.view()) {
            release(field);
            field = common(static_cast<std::size_t>(found - names_));
        } else if (field && !isCommon(field)) {
            const_cast<ORXString&>(*field) = value;
        } else {
            field = &(new Own(value))->text;
        }
    }
    // Empties `field`, freeing its own text.
    void release(const ORXString*& field) {
        if (field && !isCommon(field))
            delete reinterpret_cast<const Own*>(field);
        field = nullptr;
    }

  private:
    struct Own : ORXPooled {
        explicit Own(const ORXString& value) : text(value) {}
        ORXString text;
    };
    static_assert(offsetof(Own, text) == 0);
    const ORXString* common(std::size_t i) {
        std::call_once(made_[i], [this, i] { new (storage_[i]) ORXString(names_[i]); });
        return std::launder(reinterpret_cast<const ORXString*>(storage_[i]));
    }
    bool isCommon(const ORXString* text) const {
        const auto* at = reinterpret_cast<const unsigned char*>(text);
        const auto* first = reinterpret_cast<const unsigned char*>(&storage_);
        const auto* end = reinterpret_cast<const unsigned char*>(&storage_ + 1);
        return std::greater_equal<const unsigned char*>()(at, first) &&
               std::less<const unsigned char*>()(at, end);
    }
    const std::string_view* names_;
    alignas(ORXString) unsigned char storage_[N][sizeof(ORXString)] = {};
    std::once_flag made_[N];
};

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
    // The items of a long list (a package's elements, a diagram's symbols)
    // lie far apart in a large model: asking for the one a few places ahead
    // overlaps its cache miss with the visit of this one. An object's type
    // and general pointer lie 48 to 68 bytes from its start: the first two
    // lines are fetched.
    constexpr int kAhead = 4;
    for (int i = 0; i < list.count(); ++i) {
        if (i + kAhead < list.count()) {
            const char* ahead = reinterpret_cast<const char*>(list.get(i + kAhead));
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + 64);
        }
        f(list.get(i));
    }
}

}  // namespace orxmodel
