#pragma once
// The repository model: the host's in-memory object model of a relational
// design (packages, classes as tables, attributes as columns, keys, indexes,
// associations as references, views, operations, diagrams).
//
// Ownership: the model owns its types and child packages; a package owns its
// child packages, model elements, diagrams and stored procedures; a class owns
// its attributes, keys, indexes and operations; an association owns its roles;
// a foreign key owns its name maps; an index owns its members; a view owns its
// columns; a diagram owns its presentation elements; every element owns its
// notes. All other pointers are links. Deleting an object deletes what it owns
// and unlinks it from everything that links to it, so an object created and
// linked into a model and deleted again leaves the model as it was.
//
// Linking operations (add...) return whether the link was made.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "orx/ORXPool.h"
#include "orx/ORXString.h"

// Element type codes. `getElementTypeName` gives their text names.
enum ORXElementType : int {
    ORX_ET_OBJECT = 0,
    ORX_ET_ELEMENT = 1,
    ORX_ET_MODEL_OBJECT = 2,
    ORX_ET_PACKAGE = 3,
    ORX_ET_BASE_TYPE = 4,
    ORX_ET_DERIVED_TYPE = 5,
    ORX_ET_TYPE_VALUE = 6,
    ORX_ET_NOTE = 7,
    ORX_ET_BUSINESS_RULE = 8,
    ORX_ET_DESIGN_PACKAGE = 9,
    ORX_ET_SYNONYM = 10,
    ORX_ET_MODEL = 11,    // the model: its short text is written as a comment
    ORX_ET_DIAGRAM = 12,  // pre-processing does not descend below diagrams
    ORX_ET_CLASS = 13,
    ORX_ET_ATTRIBUTE = 14,
    ORX_ET_KEY = 15,
    ORX_ET_GENERALIZATION = 16,
    ORX_ET_ASSOCIATION = 17,
    ORX_ET_ASSOCIATION_ROLE = 18,
    ORX_ET_ASSOCIATION_ROLE_NAME_MAP = 19,
    ORX_ET_INDEX = 20,
    ORX_ET_CANDIDATE_KEY = 21,
    ORX_ET_FOREIGN_KEY = 22,
    ORX_ET_INDEX_MEMBER = 23,
    ORX_ET_PRESENTATION_ELEMENT = 24,
    ORX_ET_SQL_VIEW_ENTITY = 25,
    ORX_ET_SQL_VIEW_ATTRIBUTE = 26,
    ORX_ET_PROJECTION = 27,
    ORX_ET_CLASSIFIER = 28,
    ORX_ET_FEATURE = 29,
    ORX_ET_OPERATION = 30,
    ORX_ET_STORED_PROCEDURE = 67,
    ORX_ET_TRIGGER = 68,
    ORX_ET_SCHEMA = 72,
    ORX_ET_CATALOG = 74,
};

// The text name of an element type ("Class", "Attribute", ...); "Object" for
// unknown codes.
const char* getElementTypeName(int elementType);

// Unbounded multiplicity bound, as "*" decodes.
constexpr int ORX_MANY = 2147483647;

class ORXObject;
class ORXElement;
class ORXModelObject;
class ORXPackage;
class ORXModel;
class ORXCatalog;
class ORXSchema;
class ORXDesignPackage;
class ORXClassifier;
class ORXClass;
class ORXFeature;
class ORXAttribute;
class ORXOperation;
class ORXType;
class ORXDerivedType;
class ORXTypeValue;
class ORXKey;
class ORXCandidateKey;
class ORXForeignKey;
class ORXIndex;
class ORXIndexMember;
class ORXAssociation;
class ORXAssociationRole;
class ORXAssociationRoleNameMap;
class ORXGeneralization;
class ORXSQLViewEntity;
class ORXSQLViewAttribute;
class ORXBusinessRule;
class ORXNote;
class ORXSynonym;
class ORXDiagram;
class ORXPresentationElement;
class ORXProjection;
class ORXNameIndex;

// What forEachOwned hands each owned object to: a reference to the caller's
// function object and a plain function that calls it. Unlike std::function it
// never allocates, so a walk over the whole model costs no heap block per node.
class ORXOwnedVisitor {
  public:
    template <class F>
    requires(!std::is_same_v<std::remove_cv_t<F>, ORXOwnedVisitor>)
        ORXOwnedVisitor(F& function)  // NOLINT: implicit, like a function reference
        : target_(&function),
          call_([](void* target, ORXObject* object) { (*static_cast<F*>(target))(object); }) {}
    void operator()(ORXObject* object) const { call_(target_, object); }

  private:
    void* target_;
    void (*call_)(void*, ORXObject*);
};

// A pre-order/post-order visitor of depthTraversal.
class ORXTraversalOperation {
  public:
    // Called before the object's children; returning false skips them (leave
    // is still called).
    virtual bool visit(ORXObject* object, void* data) = 0;
    // Called after the object's children.
    virtual void leave(ORXObject* object, void* data) = 0;

  protected:
    ~ORXTraversalOperation() = default;
};

// Sets every visited object's general pointer to one value.
class ORXSetGeneralPointerOperation : public ORXTraversalOperation {
  public:
    explicit ORXSetGeneralPointerOperation(void* value) : value_(value) {}
    bool visit(ORXObject* object, void* data) override;
    void leave(ORXObject*, void*) override {}
    // Runs the operation over `root` and everything it owns.
    void runOn(ORXObject* root);

  private:
    void* value_;
};

// Positions of pointers: an open-addressing table with linear probing, for
// the long link lists. Its slots come from the model's pool.
class ORXPointerIndex : public ORXPooled {
  public:
    ORXPointerIndex() = default;
    ~ORXPointerIndex();
    ORXPointerIndex(const ORXPointerIndex&) = delete;
    ORXPointerIndex& operator=(const ORXPointerIndex&) = delete;
    // The position of `key`, or -1.
    std::ptrdiff_t find(const void* key) const;
    // Records `position` for `key` (a new key or a moved one).
    void set(const void* key, std::size_t position);
    void erase(const void* key);
    // Asks the processor to fetch the slot where a look-up of `key` starts,
    // so that a run of calls to set() over many keys overlaps its misses.
    void prefetch(const void* key) const {
        if (slots_)
            __builtin_prefetch(&slots_[homeSlot(key, mask_)], 1);
    }

  private:
    template <class T>
    friend class ORXLinkList;
    struct Slot {
        const void* key;
        std::size_t position;
    };
    // Objects are 16-byte aligned: the low bits carry nothing; the multiply
    // spreads the rest over the bits the mask keeps.
    static std::size_t homeSlot(const void* key, std::size_t mask) {
        auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) >> 4;
        bits *= 0x9E3779B97F4A7C15ULL;
        return static_cast<std::size_t>(bits >> 20) & mask;
    }
    static std::size_t homeOf(const Slot& slot, std::size_t mask) {
        return homeSlot(slot.key, mask);
    }
    void grow();
    Slot* slots_ = nullptr;
    std::size_t mask_ = 0;  // slot count - 1; the count is a power of two
    std::size_t used_ = 0;
    // Kept by the list that owns the index: its slots before `indexed_` are
    // recorded here with their positions, later ones not yet (or with stale
    // positions); `newest_` is the greatest creation serial of any item the
    // list has held since the index was made.
    std::size_t indexed_ = 0;
    std::uint64_t newest_ = 0;
};

// An ordered list of linked objects with constant-time membership, removal and
// indexed reading (removals are compacted lazily, so a run of removals costs
// linear time in all). Most lists of a model are empty or hold one item: an
// empty list costs one word, a list of one item keeps it in that word (marked
// by its lowest bit, free in any pointer to an object aligned to two bytes or
// more), a short list lives in one block of the model's pool with its items
// and is scanned, and a list that grows past a few items keeps an index from
// item to position.
//
// The index of a long list catches up lazily: appended items wait until a
// look-up needs them, and are then recorded in one pass that fetches the
// slots of the next few items ahead. A list of model objects also remembers
// the greatest creation serial it has held: an object made later than that
// cannot be in the list yet, so adding it appends without a look-up. Loading
// a model adds its objects to the long lists (a package's elements, a
// diagram's symbols) mostly in creation order, and so never probes their
// index at a random slot per object.
template <class T>
class ORXLinkList {
  public:
    ORXLinkList() = default;
    ~ORXLinkList() { clear(); }
    ORXLinkList(const ORXLinkList&) = delete;
    ORXLinkList& operator=(const ORXLinkList&) = delete;

    bool add(T* item);
    bool remove(T* item);
    bool contains(const T* item) const { return item && find(item) >= 0; }
    int count() const {
        if (isSingle())
            return 1;
        return word_ ? static_cast<int>(block()->size - block()->holes) : 0;
    }
    T* get(int i) const {
        if (isSingle())
            return single();
        compact();
        return block()->items()[i];
    }
    // Inserts before position `i` of the compacted list (i == count appends).
    bool insertAt(int i, T* item);
    void clear();
    // A snapshot of the items in order.
    std::vector<T*> items() const;

  private:
    // From this many slots on, a list keeps its index.
    static constexpr std::size_t kIndexedFrom = 16;
    static constexpr std::uintptr_t kSingleBit = 1;
    // The header of the list's block; the slots follow it. Null slots are
    // removed items, until compacted.
    struct Block {
        std::uint32_t size;      // slots in use, removed ones included
        std::uint32_t capacity;  // slots allocated
        std::uint32_t holes;     // removed slots not yet compacted
        ORXPointerIndex* index;  // null while short
        T** items() { return reinterpret_cast<T**>(this + 1); }
    };
    // Whether an item may stand alone in the list's word: only when its
    // pointers leave the lowest bit clear.
    static constexpr bool singleAllowed() { return alignof(T) >= 2; }
    // Whether items carry the creation serial of the model's objects.
    static constexpr bool hasSerial() { return std::is_base_of_v<ORXObject, T>; }
    bool isSingle() const { return (word_ & kSingleBit) != 0; }
    T* single() const { return reinterpret_cast<T*>(word_ & ~kSingleBit); }
    Block* block() const { return reinterpret_cast<Block*>(word_); }
    // The slot of `item`, or -1.
    std::ptrdiff_t find(const T* item) const;
    // Records in the index every slot not yet recorded.
    void catchUp() const;
    // Called after `item` was put in slot `at`: makes the index of a list
    // that has grown long, and notes that the slots from `at` on moved.
    void noteAdded(const T* item, std::size_t at);
    void compact() const;
    // Makes room for `slots` slots in a block (a lone item moves into it).
    void reserve(std::size_t slots);
    static std::size_t bytes(std::size_t capacity) { return sizeof(Block) + capacity * sizeof(T*); }
    // Null, a lone item with its lowest bit set, or the list's block.
    mutable std::uintptr_t word_ = 0;
};

template <class T>
std::ptrdiff_t ORXLinkList<T>::find(const T* item) const {
    if (!word_)
        return -1;
    if (isSingle())
        return single() == item ? 0 : -1;
    if (block()->index) {
        catchUp();
        return block()->index->find(item);
    }
    T** slots = block()->items();
    for (std::size_t i = 0; i < block()->size; ++i)
        if (slots[i] == item)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

template <class T>
void ORXLinkList<T>::catchUp() const {
    Block& list = *block();
    ORXPointerIndex& index = *list.index;
    if (index.indexed_ >= list.size)
        return;
    T** slots = list.items();
    // Far enough ahead for several misses to be on their way at once, near
    // enough that the fetched slots are still cached when their turn comes.
    constexpr std::size_t kAhead = 8;
    const std::size_t end = list.size;
    for (std::size_t i = index.indexed_; i < end && i < index.indexed_ + kAhead; ++i)
        if (slots[i])
            index.prefetch(slots[i]);
    for (std::size_t i = index.indexed_; i < end; ++i) {
        if (i + kAhead < end && slots[i + kAhead])
            index.prefetch(slots[i + kAhead]);
        if (slots[i])
            index.set(slots[i], i);
    }
    index.indexed_ = end;
}

template <class T>
void ORXLinkList<T>::noteAdded(const T* item, std::size_t at) {
    Block& list = *block();
    if (!list.index) {
        if (list.size < kIndexedFrom)
            return;
        list.index = new ORXPointerIndex();
        if constexpr (hasSerial()) {
            T** slots = list.items();
            for (std::size_t i = 0; i < list.size; ++i)
                if (slots[i] && slots[i]->getSerial() > list.index->newest_)
                    list.index->newest_ = slots[i]->getSerial();
        }
        return;
    }
    if constexpr (hasSerial()) {
        if (item->getSerial() > list.index->newest_)
            list.index->newest_ = item->getSerial();
    }
    if (at < list.index->indexed_)
        list.index->indexed_ = at;
}

template <class T>
void ORXLinkList<T>::reserve(std::size_t slots) {
    if (word_ && !isSingle() && slots <= block()->capacity)
        return;
    // Odd capacities fill the pool's 16-byte size classes exactly.
    std::size_t capacity = word_ && !isSingle() ? std::size_t{block()->capacity} * 2 + 1 : 3;
    if (capacity < slots)
        capacity = slots;
    auto* grown = static_cast<Block*>(orxPoolAllocate(bytes(capacity)));
    grown->size = 0;
    grown->holes = 0;
    grown->index = nullptr;
    if (isSingle()) {
        grown->items()[0] = single();
        grown->size = 1;
    } else if (word_) {
        Block* old = block();
        *grown = *old;
        std::copy(old->items(), old->items() + old->size, grown->items());
        orxPoolFree(old, bytes(old->capacity));
    }
    grown->capacity = static_cast<std::uint32_t>(capacity);
    word_ = reinterpret_cast<std::uintptr_t>(grown);
}

template <class T>
bool ORXLinkList<T>::add(T* item) {
    if (!item)
        return false;
    bool newer = false;
    if constexpr (hasSerial())
        newer =
            word_ && !isSingle() && block()->index && item->getSerial() > block()->index->newest_;
    if (!newer && find(item) >= 0)
        return false;
    if (!word_ && singleAllowed()) {
        word_ = reinterpret_cast<std::uintptr_t>(item) | kSingleBit;
        return true;
    }
    reserve(isSingle() ? 2 : word_ ? std::size_t{block()->size} + 1 : 1);
    block()->items()[block()->size++] = item;
    noteAdded(item, block()->size - 1);
    return true;
}

template <class T>
bool ORXLinkList<T>::remove(T* item) {
    const std::ptrdiff_t at = item ? find(item) : -1;
    if (at < 0)
        return false;
    if (isSingle()) {
        word_ = 0;
        return true;
    }
    Block& list = *block();
    // A tombstone keeps the removal constant-time; the next read compacts.
    list.items()[static_cast<std::size_t>(at)] = nullptr;
    if (list.index)
        list.index->erase(item);
    ++list.holes;
    // Compacting once the holes outnumber the items bounds the memory of
    // lists that are only ever written, at amortised constant cost.
    if (list.holes > 32 && list.holes > list.size / 2)
        compact();
    return true;
}

template <class T>
bool ORXLinkList<T>::insertAt(int i, T* item) {
    if (!item || find(item) >= 0 || i < 0 || i > count())
        return false;
    if (!word_ && singleAllowed()) {
        word_ = reinterpret_cast<std::uintptr_t>(item) | kSingleBit;
        return true;
    }
    compact();
    reserve(isSingle() ? 2 : word_ ? std::size_t{block()->size} + 1 : 1);
    T** slots = block()->items();
    std::copy_backward(slots + i, slots + block()->size, slots + block()->size + 1);
    slots[i] = item;
    ++block()->size;
    noteAdded(item, static_cast<std::size_t>(i));
    return true;
}

template <class T>
void ORXLinkList<T>::clear() {
    if (word_ && !isSingle()) {
        delete block()->index;
        orxPoolFree(block(), bytes(block()->capacity));
    }
    word_ = 0;
}

template <class T>
std::vector<T*> ORXLinkList<T>::items() const {
    if (isSingle())
        return std::vector<T*>(1, single());
    compact();
    return word_ ? std::vector<T*>(block()->items(), block()->items() + block()->size)
                 : std::vector<T*>();
}

template <class T>
void ORXLinkList<T>::compact() const {
    if (!word_ || isSingle() || block()->holes == 0)
        return;
    Block& list = *block();
    T** slots = list.items();
    std::uint32_t kept = 0;
    while (kept < list.size && slots[kept])
        ++kept;
    // The items before the first hole keep their positions; the index
    // records the later ones again when it is next read.
    if (list.index && kept < list.index->indexed_)
        list.index->indexed_ = kept;
    for (std::uint32_t i = kept; i < list.size; ++i)
        if (slots[i])
            slots[kept++] = slots[i];
    list.size = kept;
    list.holes = 0;
}

// An owner's list of its parts, or a short list of links, in order: one
// pointer, null while the list is empty; the items live in one block of the
// model's pool behind their count and capacity, which starts at 1 slot and
// about doubles. Unlike std::vector it costs 8 bytes in its owner and, for the
// usual few items, one small block.
template <class T>
class ORXPartList {
  public:
    ORXPartList() = default;
    ~ORXPartList() { clear(); }
    ORXPartList(const ORXPartList&) = delete;
    ORXPartList& operator=(const ORXPartList&) = delete;
    ORXPartList(ORXPartList&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    ORXPartList& operator=(ORXPartList&& other) noexcept {
        std::swap(block_, other.block_);
        return *this;
    }

    std::size_t size() const { return block_ ? block_->size : 0; }
    bool empty() const { return size() == 0; }
    T* operator[](std::size_t i) const { return block_->items()[i]; }
    T* back() const { return block_->items()[block_->size - 1]; }
    T* const* begin() const { return block_ ? block_->items() : nullptr; }
    T* const* end() const { return block_ ? block_->items() + block_->size : nullptr; }
    bool contains(const T* item) const { return std::find(begin(), end(), item) != end(); }

    void push_back(T* item) {
        if (!block_ || block_->size == block_->capacity)
            grow();
        block_->items()[block_->size++] = item;
    }
    // Removes the first occurrence of `item`; false when absent.
    bool eraseFirst(const T* item) {
        T* const* found = std::find(begin(), end(), item);
        return found != end() && eraseAt(static_cast<std::size_t>(found - begin()));
    }
    // Removes the last occurrence of `item`; false when absent.
    bool eraseLast(const T* item) {
        for (std::size_t i = size(); i-- > 0;)
            if (block_->items()[i] == item)
                return eraseAt(i);
        return false;
    }
    // Empties the list and frees its block.
    void clear() {
        if (block_)
            orxPoolFree(block_, bytes(block_->capacity));
        block_ = nullptr;
    }
    // The items in order, as a vector.
    std::vector<T*> toVector() const { return std::vector<T*>(begin(), end()); }

  private:
    struct Block {
        std::uint32_t size;
        std::uint32_t capacity;
        T** items() { return reinterpret_cast<T**>(this + 1); }
    };
    static std::size_t bytes(std::size_t capacity) { return sizeof(Block) + capacity * sizeof(T*); }
    bool eraseAt(std::size_t i) {
        T** items = block_->items();
        std::copy(items + i + 1, items + block_->size, items + i);
        // The last item gone, the block goes too: an emptied list costs nothing.
        if (--block_->size == 0)
            clear();
        return true;
    }
    void grow() {
        // 1, 3, 7, 15, ...: the odd capacities fill the pool's 16-byte size
        // classes exactly, and the usual list of one part costs 16 bytes.
        const std::uint32_t capacity = block_ ? block_->capacity * 2 + 1 : 1;
        auto* grown = static_cast<Block*>(orxPoolAllocate(bytes(capacity)));
        grown->size = 0;
        grown->capacity = capacity;
        if (block_) {
            grown->size = block_->size;
            std::copy(block_->items(), block_->items() + block_->size, grown->items());
            orxPoolFree(block_, bytes(block_->capacity));
        }
        block_ = grown;
    }
    Block* block_ = nullptr;
};

// Texts that most objects of a class leave empty, behind one pointer: their
// block (from the model's pool) is made when the first of them is set to a
// non-empty value; until then every one of them reads as the empty string.
template <std::size_t N>
class ORXRareTexts {
  public:
    ORXRareTexts() = default;
    ~ORXRareTexts() { delete block_; }
    ORXRareTexts(const ORXRareTexts& other)
        : block_(other.block_ ? new Block(*other.block_) : nullptr) {}
    ORXRareTexts& operator=(const ORXRareTexts&) = delete;
    const ORXString& get(std::size_t i) const { return block_ ? block_->texts[i] : emptyString; }
    void set(std::size_t i, const ORXString& value) {
        if (!block_ && value.empty())
            return;
        if (!block_)
            block_ = new Block();
        block_->texts[i] = value;
    }

  private:
    struct Block : ORXPooled {
        ORXString texts[N];
    };
    Block* block_ = nullptr;
};

// Every object of the model.
// Objects of the model come from the model's pool.
class ORXObject : public ORXPooled {
  public:
    virtual ~ORXObject();
    ORXObject(const ORXObject&) = delete;
    ORXObject& operator=(const ORXObject&) = delete;

    int getElementType() const { return elementType_; }
    // True when the object's type is `elementType` or derives from it.
    bool isInstanceOf(int elementType) const;
    const ORXString& getName() const { return name_; }
    virtual void setName(const ORXString& name) { name_ = name; }
    bool equals(const ORXObject* other) const { return this == other; }
    // The user field that a bridge may hang its own record on; null at first.
    void* getGeneralPointer() const { return generalPointer_; }
    void setGeneralPointer(void* value) { generalPointer_ = value; }
    // A number unique among the objects of the process, in creation order.
    std::uint64_t getSerial() const { return serial_; }
    // How many objects the process has made so far, deleted ones included: a
    // bound on the size of any model, known without walking it.
    static std::uint64_t getMadeCount();
    // The identifier the object had in the file it was loaded from (empty
    // when it has none); model files refer to objects by it.
    const ORXString& getExternalId() const { return externalId_.get(0); }
    void setExternalId(const ORXString& id) { externalId_.set(0, id); }

    // Visits this object and, when visit() says so, everything it owns,
    // depth first in the order of the owning collections. The walk reads the
    // owners' lists as they are: objects that a visit adds to a list not yet
    // walked are visited too; a visit must not delete owned objects.
    void depthTraversal(ORXTraversalOperation* operation, void* data);

  protected:
    explicit ORXObject(int elementType);
    ORXObject(int elementType, const ORXObject& other);  // copies the name
    // Calls `f` for every owned object, in order.
    virtual void forEachOwned(const ORXOwnedVisitor& f);
    friend class ORXModelLinks;

  private:
    ORXString name_;
    ORXRareTexts<1> externalId_;  // most objects have none
    void* generalPointer_ = nullptr;
    std::uint64_t serial_;
    // Last, so that a derived class's first 4-byte field fills the padding after it.
    int elementType_;
};

// Every element: texts, level code and notes.
class ORXElement : public ORXObject {
  public:
    ~ORXElement() override;
    // Renames the element; a physical name that followed the name keeps the old text.
    void setName(const ORXString& name) override;
    const ORXString& getPhysicalName() const {
        return extras_.physicalIsName() ? getName() : text(&Extras::physicalName);
    }
    void setPhysicalName(const ORXString& value);
    const ORXString& getComment() const { return text(&Extras::comment); }
    void setComment(const ORXString& value) { setText(&Extras::comment, value); }
    const ORXString& getDescription() const { return text(&Extras::description); }
    void setDescription(const ORXString& value) { setText(&Extras::description, value); }
    // 1: the element is never exported; 2 on a class: marks an associative table.
    int getLevelCode() const { return levelCode_; }
    void setLevelCode(int value) { levelCode_ = value; }

    int getNoteCount() const { return extras_ ? static_cast<int>(extras_->notes.size()) : 0; }
    ORXNote* getNote(int i) const { return extras_->notes[static_cast<std::size_t>(i)]; }
    // Takes ownership of `note` and appends it.
    bool addNote(ORXNote* note);

  protected:
    explicit ORXElement(int elementType) : ORXObject(elementType) {}
    // Copies name, physical name, comment, description and level code (not notes).
    ORXElement(int elementType, const ORXElement& other);
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXNote;
    friend class ORXModelObject;
    friend class ORXSynonym;
    friend class ORXBusinessRule;
    friend class ORXOperation;
    // What most elements never have: the texts beside the name, notes and,
    // for model objects, synonyms, business rules, owned objects and linking
    // operations. Made when the first of them is set, freed with the element.
    struct Extras : ORXPooled {
        ORXString physicalName, comment, description;
        ORXPartList<ORXNote> notes;
        ORXPartList<ORXSynonym> synonyms;
        ORXPartList<ORXBusinessRule> rules;
        ORXLinkList<ORXModelObject> ownedObjects;
        ORXLinkList<ORXOperation> linkingOperations;
    };
    // The element's Extras block, or null, with one more bit in the lowest
    // bit of its pointer: set while the physical name is the element's name
    // (set as the same text, the name not changed since). A database's
    // tables, columns and indexes bear the one name as both, which then costs
    // neither a block nor a copy.
    class ExtrasPointer {
      public:
        Extras* get() const { return reinterpret_cast<Extras*>(word_ & ~kNameBit); }
        Extras* operator->() const { return get(); }
        explicit operator bool() const { return get() != nullptr; }
        void reset(Extras* block) {
            word_ = reinterpret_cast<std::uintptr_t>(block) | (word_ & kNameBit);
        }
        bool physicalIsName() const { return (word_ & kNameBit) != 0; }
        void setPhysicalIsName(bool value) { word_ = value ? word_ | kNameBit : word_ & ~kNameBit; }

      private:
        static constexpr std::uintptr_t kNameBit = 1;
        std::uintptr_t word_ = 0;
    };
    const ORXString& text(ORXString Extras::*field) const {
        return extras_ ? extras_.get()->*field : emptyString;
    }
    void setText(ORXString Extras::*field, const ORXString& value);
    Extras& extras();
    int levelCode_ = 0;
    ExtrasPointer extras_;
};

// A note: its text is its description.
class ORXNote : public ORXElement {
  public:
    ORXNote() : ORXElement(ORX_ET_NOTE) {}
    explicit ORXNote(const ORXString& text) : ORXElement(ORX_ET_NOTE) { setDescription(text); }
    // A copy of the note's texts (not attached to any element).
    ORXNote(const ORXNote& other) : ORXElement(ORX_ET_NOTE, other) {}
    ~ORXNote() override;
    ORXElement* getOwnerElement() const { return owner_; }

  private:
    friend class ORXElement;
    ORXElement* owner_ = nullptr;
};

// A synonym of a class, named by its physical name.
class ORXSynonym : public ORXElement {
  public:
    explicit ORXSynonym(const ORXString& physicalName) : ORXElement(ORX_ET_SYNONYM) {
        setPhysicalName(physicalName);
    }
    ~ORXSynonym() override;
    ORXModelObject* getOwnerObject() const { return owner_; }

  private:
    friend class ORXModelObject;
    ORXModelObject* owner_ = nullptr;
};

// A business rule of an object; rule type 3 is the check rule.
class ORXBusinessRule : public ORXElement {
  public:
    ORXBusinessRule(int ruleType, const ORXString& name, const ORXString& text);
    ~ORXBusinessRule() override;
    int getRuleType() const { return ruleType_; }
    const ORXString& getRuleText() const { return ruleText_; }
    void setRuleText(const ORXString& text) { ruleText_ = text; }
    ORXModelObject* getOwnerObject() const { return owner_; }

  private:
    friend class ORXModelObject;
    int ruleType_;
    ORXString ruleText_;
    ORXModelObject* owner_ = nullptr;
};

// Elements that can lie in design packages, belong to diagrams, be owned by a
// schema and carry synonyms and business rules.
class ORXModelObject : public ORXElement {
  public:
    ~ORXModelObject() override;

    // The owning schema (or other owner), or null.
    ORXModelObject* getOwner() const { return placement_ ? placement_->owner : nullptr; }
    // Sets the owner (null clears it).
    bool setOwner(ORXModelObject* owner);
    // Objects whose owner is this object, in the order they were linked.
    int getOwnedObjectCount() const { return extras_ ? extras_->ownedObjects.count() : 0; }
    ORXModelObject* getOwnedObject(int i) const { return extras_->ownedObjects.get(i); }

    int getSynonymCount() const { return extras_ ? static_cast<int>(extras_->synonyms.size()) : 0; }
    ORXSynonym* getSynonym(int i) const { return extras_->synonyms[static_cast<std::size_t>(i)]; }
    bool addSynonym(ORXSynonym* synonym);  // takes ownership

    int getBusinessRuleCount() const {
        return extras_ ? static_cast<int>(extras_->rules.size()) : 0;
    }
    ORXBusinessRule* getBusinessRule(int i) const {
        return extras_->rules[static_cast<std::size_t>(i)];
    }
    bool addBusinessRule(ORXBusinessRule* rule);  // takes ownership

    // The presentation elements that show this object, in all diagrams.
    int getPresentationPresentationElementCount() const {
        return placement_ ? placement_->presentations.count() : 0;
    }
    ORXPresentationElement* getPresentationPresentationElement(int i) const {
        return placement_->presentations.get(i);
    }

    // The diagrams this object belongs to, in the order it was added to them.
    int getDiagramCount() const { return placement_ ? placement_->diagrams.count() : 0; }
    ORXDiagram* getDiagram(int i) const { return placement_->diagrams.get(i); }
    // Makes the object a member of `diagram`; false when it already is.
    bool addDiagram(ORXDiagram* diagram);
    bool removeDiagram(ORXDiagram* diagram);

    // The design package that contains the object, or null.
    ORXDesignPackage* getDesignPackage() const {
        return placement_ ? placement_->designPackage : nullptr;
    }
    // Adds the object to `package`. Refused when the object already lies in a
    // package, or when it is a named class and the package holds a class of the
    // same name. An object removed from a package and added back returns to its
    // place among the package's elements.
    bool addDesignPackage(ORXDesignPackage* package);
    // Removes the object from `package`; false when it does not lie there.
    bool removeDesignPackage(ORXDesignPackage* package);

    // Operations whose linked elements include this object.
    int getLinkingOperationCount() const {
        return extras_ ? extras_->linkingOperations.count() : 0;
    }

  protected:
    explicit ORXModelObject(int elementType) : ORXElement(elementType) {}
    ORXModelObject(int elementType, const ORXModelObject& other)  // copies the texts only
        : ORXElement(elementType, other) {}
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXDesignPackage;
    friend class ORXDiagram;
    friend class ORXPresentationElement;
    friend class ORXOperation;
    friend class ORXSynonym;
    friend class ORXBusinessRule;
    // The object's links to its owner, symbols, diagrams and design package.
    // Most model objects (attributes, types, keys, indexes) never have any:
    // the block is made on the first link and freed with the object.
    struct Placement : ORXPooled {
        ORXModelObject* owner = nullptr;
        ORXLinkList<ORXPresentationElement> presentations;
        ORXLinkList<ORXDiagram> diagrams;
        ORXDesignPackage* designPackage = nullptr;
        // Where the object first lay: that package's serial (0 while the
        // object has never lain in a package) and its place there.
        std::uint64_t homePackage = 0;
        std::uint64_t homeOrdinal = 0;
    };
    Placement& placement();
    Placement* placement_ = nullptr;
};

// Packages: a package holds child packages.
class ORXPackage : public ORXModelObject {
  public:
    ~ORXPackage() override;
    int getChildPackageCount() const { return static_cast<int>(children_.size()); }
    ORXPackage* getChildPackage(int i) const { return children_[static_cast<std::size_t>(i)]; }
    // Takes ownership of `child` and appends it; refused when it has a parent.
    bool addChildPackage(ORXPackage* child);
    ORXPackage* getParentPackage() const { return parent_; }

  protected:
    explicit ORXPackage(int elementType) : ORXModelObject(elementType) {}
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    ORXPartList<ORXPackage> children_;
    ORXPackage* parent_ = nullptr;
};

// The model: a package that also holds the model's types.
class ORXModel : public ORXPackage {
  public:
    ORXModel() : ORXPackage(ORX_ET_MODEL) {}
    ~ORXModel() override;
    int getTypeCount() const { return static_cast<int>(types_.size()); }
    ORXType* getType(int i) const { return types_[static_cast<std::size_t>(i)]; }
    bool addType(ORXType* type);  // takes ownership

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXType;
    ORXPartList<ORXType> types_;
};

// A catalog: the database a model was taken from; its children are schemas.
class ORXCatalog : public ORXPackage {
  public:
    ORXCatalog() : ORXPackage(ORX_ET_CATALOG) {}
    // The database's name and version ("ORACLE 8.1.6", "SQL Server 2000", ...).
    const ORXString& getDatabaseType() const { return databaseType_; }
    void setDatabaseType(const ORXString& value) { databaseType_ = value; }

  private:
    ORXString databaseType_;
};

// A schema of a catalog: the user that owns tables, views and procedures.
class ORXSchema : public ORXPackage {
  public:
    ORXSchema() : ORXPackage(ORX_ET_SCHEMA) {}
};

// A design package: model elements (classes, associations, generalizations,
// views), diagrams, stored procedures and nested design packages.
class ORXDesignPackage : public ORXPackage {
  public:
    ORXDesignPackage() : ORXPackage(ORX_ET_DESIGN_PACKAGE) {}
    ~ORXDesignPackage() override;

    int getModelElementCount() const { return elements_.count(); }
    ORXModelObject* getModelElement(int i) const;
    bool containsModelElement(const ORXObject* object) const;

    // The package's own diagrams (not the diagrams the package belongs to).
    int getDiagramCount() const { return static_cast<int>(ownedDiagrams_.size()); }
    ORXDiagram* getDiagram(int i) const { return ownedDiagrams_[static_cast<std::size_t>(i)]; }
    bool addOwnedDiagram(ORXDiagram* diagram);  // takes ownership

    int getStoredProcedureCount() const { return static_cast<int>(procedures_.size()); }
    ORXOperation* getStoredProcedure(int i) const {
        return procedures_[static_cast<std::size_t>(i)];
    }
    bool addStoredProcedure(ORXOperation* procedure);  // takes ownership

    // Set: the package is written as a package of its own; clear on a
    // top-level package: its content is merged into the model.
    bool getPackageFlag() const { return packageFlag_ != 0; }
    void setPackageFlag(bool value) { packageFlag_ = value ? 1 : 0; }

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXModelObject;
    friend class ORXClass;
    friend class ORXOperation;
    friend class ORXDiagram;
    void restoreOrder() const;
    // Whether a class of the package bears `name`.
    bool holdsClassNamed(const ORXString& name) const;
    // Keeps the name index of a large package when `cls` has joined it.
    void indexClass(ORXModelObject* cls);
    mutable ORXLinkList<ORXModelObject> elements_;
    mutable ORXLinkList<ORXModelObject> returning_;  // re-added, awaiting their place
    // The package's classes by name, made when the package grows large.
    ORXNameIndex* classNames_ = nullptr;
    std::uint64_t nextOrdinal_ = 1;
    ORXPartList<ORXDiagram> ownedDiagrams_;
    ORXPartList<ORXOperation> procedures_;
    unsigned char packageFlag_ = 0;
};

// Classes and views: owners of features.
class ORXClassifier : public ORXModelObject {
  public:
    ~ORXClassifier() override;

  protected:
    explicit ORXClassifier(int elementType) : ORXModelObject(elementType) {}
};

// By-position lists, filled by their owner and read by index.
template <class T>
class ORXByPosition {
  public:
    int getCount() const { return static_cast<int>(items.size()); }
    std::vector<T*> items;
};
class ORXAttributeByPosition : public ORXByPosition<ORXAttribute> {
  public:
    ORXAttribute* getAttribute(int i) const { return items[static_cast<std::size_t>(i)]; }
};
class ORXOperationByPosition : public ORXByPosition<ORXOperation> {
  public:
    ORXOperation* getOperation(int i) const { return items[static_cast<std::size_t>(i)]; }
};
class ORXIndexMemberByPosition : public ORXByPosition<ORXIndexMember> {
  public:
    ORXIndexMember* getIndexMember(int i) const { return items[static_cast<std::size_t>(i)]; }
};
class ORXFeatureByPosition : public ORXByPosition<ORXFeature> {
  public:
    ORXFeature* getFeature(int i) const { return items[static_cast<std::size_t>(i)]; }
};
class ORXTypeValueByPosition : public ORXByPosition<ORXTypeValue> {
  public:
    ORXTypeValue* getTypeValue(int i) const { return items[static_cast<std::size_t>(i)]; }
};

// A class: written as a table.
class ORXClass : public ORXClassifier {
  public:
    ORXClass() : ORXClassifier(ORX_ET_CLASS) {}
    ~ORXClass() override;
    // Renames the class and keeps its design package's name index right.
    void setName(const ORXString& name) override;

    // Attributes in position order (the order they were added).
    int getAttributeCount() const { return static_cast<int>(attributes_.size()); }
    ORXAttribute* getAttribute(int i) const { return attributes_[static_cast<std::size_t>(i)]; }
    void getAttributeByPosition(ORXAttributeByPosition& list) const;
    // The attribute of that exact name (the first in position order when
    // renames gave several that name), or null.
    ORXAttribute* findAttribute(const ORXString& name) const;

    int getKeyCount() const { return static_cast<int>(keys_.size()); }
    ORXKey* getKey(int i) const { return keys_[static_cast<std::size_t>(i)]; }
    bool containsKey(const ORXKey* key) const;
    int getIndexCount() const { return static_cast<int>(indexes_.size()); }
    ORXIndex* getIndex(int i) const { return indexes_[static_cast<std::size_t>(i)]; }
    int getOperationCount() const { return static_cast<int>(operations_.size()); }
    ORXOperation* getOperation(int i) const { return operations_[static_cast<std::size_t>(i)]; }
    void getOperationByPosition(ORXOperationByPosition& list) const;

    // The association roles at this class, in the order they were linked.
    int getAssociationRoleCount() const { return roles_.count(); }
    ORXAssociationRole* getAssociationRole(int i) const { return roles_.get(i); }
    // Generalizations that name this class as supertype or subtype.
    int getGeneralizationCount() const { return generalizations_.count(); }
    ORXGeneralization* getGeneralization(int i) const { return generalizations_.get(i); }

    ORXCandidateKey* getPrimaryKey() const { return primaryKey_; }
    int getTableType() const { return tableType_; }
    void setTableType(int value) { tableType_ = value; }

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXAttribute;
    friend class ORXKey;
    friend class ORXCandidateKey;
    friend class ORXIndex;
    friend class ORXOperation;
    friend class ORXAssociationRole;
    friend class ORXGeneralization;
    // Appends `attribute`, keeping the name index of a large class.
    void appendAttribute(ORXAttribute* attribute);
    ORXPartList<ORXAttribute> attributes_;
    ORXNameIndex* attributeNames_ = nullptr;  // made when the class grows large
    ORXPartList<ORXKey> keys_;
    ORXPartList<ORXIndex> indexes_;
    ORXPartList<ORXOperation> operations_;
    ORXLinkList<ORXAssociationRole> roles_;
    ORXLinkList<ORXGeneralization> generalizations_;
    ORXCandidateKey* primaryKey_ = nullptr;
    int tableType_ = 0;
};

// Attributes, view attributes and operations.
class ORXFeature : public ORXModelObject {
  public:
    ~ORXFeature() override;
    // The classifier that holds the feature, or null.
    ORXClassifier* getClassifier() const { return classifier_; }
    // View attributes that take this feature as their source.
    int getDerivedViewAttributeCount() const { return derived_.count(); }
    ORXSQLViewAttribute* getDerivedViewAttribute(int i) const { return derived_.get(i); }

  protected:
    explicit ORXFeature(int elementType) : ORXModelObject(elementType) {}
    ORXFeature(int elementType, const ORXFeature& other) : ORXModelObject(elementType, other) {}
    friend class ORXClass;
    friend class ORXSQLViewEntity;
    friend class ORXSQLViewAttribute;
    ORXClassifier* classifier_ = nullptr;
    ORXLinkList<ORXSQLViewAttribute> derived_;
};

// An attribute of a class: written as a column.
class ORXAttribute : public ORXFeature {
  public:
    ORXAttribute() : ORXFeature(ORX_ET_ATTRIBUTE) {}
    // Copies the texts, level code, initial value, optional flag and check
    // expression; not the type, the class, notes, rules or any link.
    ORXAttribute(const ORXAttribute& other);
    ~ORXAttribute() override;
    void setName(const ORXString& name) override;

    // Adds the attribute at the end of `cls`. Refused when the attribute lies
    // in a class already or, when it has a name, `cls` has an attribute of the
    // same name.
    bool addAssociatedClass(ORXClass* cls);
    ORXClass* getAssociatedClass() const;

    // The attribute's type, or null.
    ORXType* getType() const { return type_; }
    // Links `type` (not owned; the type must outlive the attribute).
    void setType(ORXType* type);
    // Takes ownership of `type` (an inline type of this attribute alone).
    void setOwnedType(ORXType* type);
    bool ownsType() const { return ownsType_; }

    const ORXString& getInitialValue() const { return text(kInitialValue); }
    void setInitialValue(const ORXString& value) { setText(kInitialValue, value); }
    bool isOptional() const { return optional_; }
    void setOptional(bool value) { optional_ = value; }
    // The column's own check text (empty when none).
    const ORXString& getRuleExpression() const { return text(kRuleExpression); }
    void setRuleExpression(const ORXString& value) { setText(kRuleExpression, value); }

    // Name maps of which this attribute is the destination (the child column).
    int getDestinationOfAssociationRoleNameMapCount() const {
        return rare_ ? rare_->destinationOf.count() : 0;
    }
    ORXAssociationRoleNameMap* getDestinationOfAssociationRoleNameMap(int i) const {
        return rare_->destinationOf.get(i);
    }
    // Name maps of which this attribute is the source (the parent column).
    int getSourceOfAssociationRoleNameMapCount() const {
        return rare_ ? rare_->sourceOf.count() : 0;
    }
    ORXAssociationRoleNameMap* getSourceOfAssociationRoleNameMap(int i) const {
        return rare_->sourceOf.get(i);
    }
    // Keys and index members that hold this attribute.
    int getKeyCount() const { return rare_ ? rare_->keys.count() : 0; }
    ORXKey* getKey(int i) const { return rare_->keys.get(i); }
    int getIndexMemberCount() const { return rare_ ? rare_->members.count() : 0; }
    ORXIndexMember* getIndexMember(int i) const { return rare_->members.get(i); }

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXKey;
    friend class ORXIndexMember;
    friend class ORXAssociationRoleNameMap;
    friend class ORXType;
    friend class ORXClass;
    enum : std::size_t { kInitialValue, kRuleExpression };
    // What most attributes never have: an initial value, a check text, and
    // the name maps, keys and index members that hold the attribute (most
    // columns are in no key). Made when the first of them is set, freed with
    // the attribute.
    struct Rare : ORXPooled {
        ORXRareTexts<2> texts;
        ORXLinkList<ORXAssociationRoleNameMap> destinationOf;
        ORXLinkList<ORXAssociationRoleNameMap> sourceOf;
        ORXLinkList<ORXKey> keys;
        ORXLinkList<ORXIndexMember> members;
    };
    const ORXString& text(std::size_t i) const { return rare_ ? rare_->texts.get(i) : emptyString; }
    void setText(std::size_t i, const ORXString& value) {
        if (rare_ || !value.empty())
            rare().texts.set(i, value);
    }
    Rare& rare();
    ORXType* type_ = nullptr;
    bool ownsType_ = false;
    bool optional_ = false;
    Rare* rare_ = nullptr;
};

// An operation: a stored procedure (element type 67) or a trigger (68), of a
// class or, for procedures, of a design package.
class ORXOperation : public ORXFeature {
  public:
    // `elementType` is ORX_ET_STORED_PROCEDURE or ORX_ET_TRIGGER.
    explicit ORXOperation(int elementType) : ORXFeature(elementType) {}
    ~ORXOperation() override;

    // Appends the operation to `cls`; refused when it lies elsewhere already.
    bool addAssociatedClass(ORXClass* cls);
    ORXClass* getAssociatedClass() const;
    // The design package whose stored procedure this is, or null.
    ORXDesignPackage* getProcedurePackage() const { return procedurePackage_; }

    const ORXString& getBody() const { return body_; }
    void setBody(const ORXString& value) { body_ = value; }
    // Linked elements 0 and 1 (null when absent), whose owners stand in for
    // the operation's own.
    ORXModelObject* getLinkedElement(int i) const { return links_[i & 1]; }
    bool setLinkedElement(int i, ORXModelObject* element);
    // 0 before, 1 after, 2 instead of.
    int getTiming() const { return timing_; }
    void setTiming(int value) { timing_ = value; }
    bool isOnInsert() const { return onInsert_; }
    bool isOnUpdate() const { return onUpdate_; }
    bool isOnDelete() const { return onDelete_; }
    void setOnInsert(bool v) { onInsert_ = v; }
    void setOnUpdate(bool v) { onUpdate_ = v; }
    void setOnDelete(bool v) { onDelete_ = v; }

  private:
    friend class ORXDesignPackage;
    friend class ORXModelObject;
    ORXDesignPackage* procedurePackage_ = nullptr;
    ORXString body_;
    ORXModelObject* links_[2] = {nullptr, nullptr};
    int timing_ = 0;
    bool onInsert_ = false, onUpdate_ = false, onDelete_ = false;
};

// A value of a type's list of values.
class ORXTypeValue : public ORXElement {
  public:
    ORXTypeValue(const ORXString& value, const ORXString& name);
    ~ORXTypeValue() override;
    const ORXString& getValue() const { return value_; }
    ORXType* getOwnerType() const { return owner_; }

  private:
    friend class ORXType;
    ORXString value_;
    ORXType* owner_ = nullptr;
};

// A datatype: base types (element type 4) and derived types (5).
class ORXType : public ORXModelObject {
  public:
    ORXType() : ORXModelObject(ORX_ET_BASE_TYPE) {}
    ~ORXType() override;
    // A name such as "SQL_VARCHAR", compared exactly.
    const ORXString& getDataType() const { return dataType_ ? *dataType_ : emptyString; }
    void setDataType(const ORXString& value);
    int getLength() const { return length_; }
    void setLength(int value) { length_ = value; }
    int getScale() const { return scale_; }
    void setScale(int value) { scale_ = value; }
    const ORXString& getInitialValue() const { return texts_.get(kInitialValue); }
    void setInitialValue(const ORXString& value) { texts_.set(kInitialValue, value); }
    const ORXString& getLowerBound() const { return texts_.get(kLowerBound); }
    void setLowerBound(const ORXString& value) { texts_.set(kLowerBound, value); }
    const ORXString& getUpperBound() const { return texts_.get(kUpperBound); }
    void setUpperBound(const ORXString& value) { texts_.set(kUpperBound, value); }
    // True when the type is to be exported as a domain.
    virtual bool isDomain() const { return false; }

    int getTypeValueCount() const { return static_cast<int>(values_.size()); }
    void getTypeValueByPosition(ORXTypeValueByPosition& list) const;
    bool addTypeValue(ORXTypeValue* value);  // takes ownership
    // The model or attribute that owns the type, or null.
    ORXObject* getTypeOwner() const { return typeOwner_; }

  protected:
    explicit ORXType(int elementType) : ORXModelObject(elementType) {}
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXModel;
    friend class ORXAttribute;
    friend class ORXTypeValue;
    enum : std::size_t { kInitialValue, kLowerBound, kUpperBound };
    // Frees the type's own data type text, if it has one.
    void releaseDataType();
    // Null when empty; else one of the common data type names that the
    // process keeps once (nearly every type bears one of them), or a text of
    // the type's own from the model's pool.
    const ORXString* dataType_ = nullptr;
    int length_ = 0, scale_ = 0;
    ORXRareTexts<3> texts_;
    ORXPartList<ORXTypeValue> values_;
    ORXObject* typeOwner_ = nullptr;
};

// A derived type: a named type of the model, a domain when its flag says so.
class ORXDerivedType : public ORXType {
  public:
    ORXDerivedType() : ORXType(ORX_ET_DERIVED_TYPE) {}
    bool isDomain() const override { return domain_; }
    void setDomain(bool value) { domain_ = value; }

  private:
    bool domain_ = true;
};

// A key of a class: an ordered list of the class's attributes.
class ORXKey : public ORXModelObject {
  public:
    ~ORXKey() override;
    // Adds the key to `cls` (at the end of its keys); refused when the key lies elsewhere.
    bool addAssociatedClass(ORXClass* cls);
    ORXClass* getAssociatedClass() const { return class_; }
    int getAttributeCount() const { return static_cast<int>(attributes_.size()); }
    ORXAttribute* getAttribute(int i) const { return attributes_[static_cast<std::size_t>(i)]; }
    // Appends `attribute`; refused when the key holds it already.
    bool addAttribute(ORXAttribute* attribute);
    bool removeAttribute(ORXAttribute* attribute);
    // The index that implements the key, or null.
    ORXIndex* getIndex() const { return index_; }
    void setIndex(ORXIndex* index);
    // The index that gives the order of the key's attributes, or null.
    ORXIndex* getOrderingIndex() const { return orderingIndex_; }
    void setOrderingIndex(ORXIndex* index);

  protected:
    explicit ORXKey(int elementType) : ORXModelObject(elementType) {}

  private:
    friend class ORXIndex;
    friend class ORXAttribute;
    friend class ORXClass;
    friend class ORXCandidateKey;
    ORXClass* class_ = nullptr;
    ORXPartList<ORXAttribute> attributes_;
    ORXIndex* index_ = nullptr;
    ORXIndex* orderingIndex_ = nullptr;
    ORXLinkList<ORXIndex> implementingIndexes_;  // indexes whose key is this key
};

// A candidate key (unique unless its flag says otherwise).
class ORXCandidateKey : public ORXKey {
  public:
    ORXCandidateKey() : ORXKey(ORX_ET_CANDIDATE_KEY) {}
    ~ORXCandidateKey() override;
    bool isUnique() const { return unique_; }
    void setUnique(bool value) { unique_ = value; }
    // Makes this key the primary key of `cls` (the key must belong to it).
    bool addPrimaryOfClass(ORXClass* cls);
    // Foreign keys that reference this key.
    int getReferencingForeignKeyCount() const { return referencing_.count(); }
    ORXForeignKey* getReferencingForeignKey(int i) const { return referencing_.get(i); }

  private:
    friend class ORXForeignKey;
    bool unique_ = true;
    ORXLinkList<ORXForeignKey> referencing_;
};

// A foreign key: references a candidate key of the parent class; the role of
// the association it implements is the last one linked.
class ORXForeignKey : public ORXKey {
  public:
    ORXForeignKey() : ORXKey(ORX_ET_FOREIGN_KEY) {}
    ~ORXForeignKey() override;
    ORXCandidateKey* getCandidateKey() const { return candidateKey_; }
    bool addCandidateKey(ORXCandidateKey* key);
    // The association role the key implements, or null.
    ORXAssociationRole* getAssociationRole() const;
    // Links `role` to this key (role's foreign key becomes this key). A later
    // link hides an earlier one until it is removed.
    bool addAssociationRole(ORXAssociationRole* role);
    int getAssociationRoleNameMapCount() const { return static_cast<int>(nameMaps_.size()); }
    ORXAssociationRoleNameMap* getAssociationRoleNameMap(int i) const {
        return nameMaps_[static_cast<std::size_t>(i)];
    }
    bool containsAssociationRoleNameMap(const ORXAssociationRoleNameMap* map) const;
    // Generalizations that list this key.
    int getGeneralizationCount() const { return generalizations_.count(); }

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXAssociationRole;
    friend class ORXAssociationRoleNameMap;
    friend class ORXGeneralization;
    friend class ORXCandidateKey;
    ORXCandidateKey* candidateKey_ = nullptr;
    ORXPartList<ORXAssociationRole> roles_;
    ORXPartList<ORXAssociationRoleNameMap> nameMaps_;
    ORXLinkList<ORXGeneralization> generalizations_;
};

// The pairing of a parent (source) column with a child (destination) column
// of a foreign key, when their names differ. Owned by the foreign key.
class ORXAssociationRoleNameMap : public ORXElement {
  public:
    // Creates the map and links it to its foreign key and both attributes.
    ORXAssociationRoleNameMap(ORXForeignKey* foreignKey, ORXAttribute* source,
                              ORXAttribute* destination);
    ~ORXAssociationRoleNameMap() override;
    ORXForeignKey* getForeignKey() const { return foreignKey_; }
    ORXAttribute* getSourceAttribute() const { return source_; }
    ORXAttribute* getDestinationAttribute() const { return destination_; }

  private:
    friend class ORXAttribute;
    friend class ORXForeignKey;
    ORXForeignKey* foreignKey_;
    ORXAttribute* source_;
    ORXAttribute* destination_;
};

// An index of a class with its members.
class ORXIndex : public ORXModelObject {
  public:
    ORXIndex() : ORXModelObject(ORX_ET_INDEX) {}
    ~ORXIndex() override;
    bool addAssociatedClass(ORXClass* cls);
    ORXClass* getAssociatedClass() const { return class_; }
    // 1 when unique, else 0.
    int isUnique() const { return unique_ ? 1 : 0; }
    void setUnique(bool value) { unique_ = value; }
    bool isClustered() const { return clustered_; }
    void setClustered(bool value) { clustered_ = value; }
    // The key the index implements, or null.
    ORXKey* getKey() const { return key_; }
    // Links the index to `key`; the key's index becomes this index when it has none.
    bool addKey(ORXKey* key);
    void setKey(ORXKey* key);
    // Members in the order they were added.
    int getIndexMemberCount() const { return static_cast<int>(members_.size()); }
    ORXIndexMember* getIndexMember(int i) const { return members_[static_cast<std::size_t>(i)]; }
    // Members ordered by position (stable for equal positions).
    void getIndexMemberByPosition(ORXIndexMemberByPosition& list) const;

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXIndexMember;
    friend class ORXKey;
    friend class ORXClass;
    ORXClass* class_ = nullptr;
    bool unique_ = false, clustered_ = false;
    ORXKey* key_ = nullptr;
    ORXPartList<ORXIndexMember> members_;
    ORXLinkList<ORXKey> keysIndexedBy_;  // keys whose index or ordering index this is
};

// A member of an index: an attribute, a sort order (2: descending) and a position.
class ORXIndexMember : public ORXModelObject {
  public:
    // Creates the member and appends it to `index`.
    ORXIndexMember(ORXIndex* index, ORXAttribute* attribute, short position, int sortOrder = 1);
    ~ORXIndexMember() override;
    ORXIndex* getIndex() const { return index_; }
    ORXAttribute* getAttribute() const { return attribute_; }
    int getSortOrder() const { return sortOrder_; }
    void setSortOrder(int value) { sortOrder_ = value; }
    short getPosition() const { return position_; }

  private:
    friend class ORXIndex;
    friend class ORXAttribute;
    ORXIndex* index_;
    ORXAttribute* attribute_;
    short position_;
    int sortOrder_;
};

// An association between classes; two roles make it binary.
class ORXAssociation : public ORXModelObject {
  public:
    ORXAssociation() : ORXModelObject(ORX_ET_ASSOCIATION) {}
    ~ORXAssociation() override;
    int getAssociationRoleCount() const { return static_cast<int>(roles_.size()); }
    ORXAssociationRole* getAssociationRole(int i) const;  // null when out of range

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXAssociationRole;
    ORXPartList<ORXAssociationRole> roles_;
};

// One end of an association.
class ORXAssociationRole : public ORXModelObject {
  public:
    // Creates the role and appends it to `association`.
    explicit ORXAssociationRole(ORXAssociation* association);
    ~ORXAssociationRole() override;
    ORXAssociation* getAssociation() const { return association_; }
    // The parent (referenced) end.
    bool isSource() const { return source_; }
    void setSource(bool value) { source_ = value; }
    const ORXString& getMultiplicity() const {
        return multiplicity_ ? *multiplicity_ : emptyString;
    }
    void setMultiplicity(const ORXString& value);
    int getUpdateRule() const { return updateRule_; }
    void setUpdateRule(int value) { updateRule_ = value; }
    int getDeleteRule() const { return deleteRule_; }
    void setDeleteRule(int value) { deleteRule_ = value; }
    ORXForeignKey* getForeignKey() const { return foreignKey_; }
    ORXClass* getAssociatedClass() const { return class_; }
    // Links the role to `cls` (appended to the class's roles); refused when
    // the role has a class already.
    bool addAssociatedClass(ORXClass* cls);

  private:
    friend class ORXForeignKey;
    friend class ORXClass;
    friend class ORXAssociation;
    ORXAssociation* association_;
    bool source_ = false;
    // Null when empty; else one of the common multiplicities that the process
    // keeps once, or a text of the role's own from the model's pool.
    const ORXString* multiplicity_ = nullptr;
    int updateRule_ = 0, deleteRule_ = 0;
    ORXForeignKey* foreignKey_ = nullptr;
    ORXClass* class_ = nullptr;
};

// A generalization: one supertype class and its subtype classes.
class ORXGeneralization : public ORXModelObject {
  public:
    ORXGeneralization() : ORXModelObject(ORX_ET_GENERALIZATION) {}
    ~ORXGeneralization() override;
    int getSupertypeClassCount() const { return supertype_ ? 1 : 0; }
    ORXClass* getSupertypeClass(int i) const { return i == 0 ? supertype_ : nullptr; }
    bool setSupertypeClass(ORXClass* cls);
    int getSubtypeClassCount() const { return static_cast<int>(subtypes_.size()); }
    ORXClass* getSubtypeClass(int i) const { return subtypes_[static_cast<std::size_t>(i)]; }
    bool addSubtypeClass(ORXClass* cls);
    int getForeignKeyCount() const { return static_cast<int>(foreignKeys_.size()); }
    ORXForeignKey* getForeignKey(int i) const { return foreignKeys_[static_cast<std::size_t>(i)]; }
    bool addForeignKey(ORXForeignKey* key);

  private:
    friend class ORXClass;
    friend class ORXForeignKey;
    ORXClass* supertype_ = nullptr;
    ORXPartList<ORXClass> subtypes_;
    ORXPartList<ORXForeignKey> foreignKeys_;
};

// A SQL view with its columns.
class ORXSQLViewEntity : public ORXClassifier {
  public:
    ORXSQLViewEntity() : ORXClassifier(ORX_ET_SQL_VIEW_ENTITY) {}
    ~ORXSQLViewEntity() override;
    // The stored SQL text (may be empty).
    const ORXString& getViewStatement() const { return statement_; }
    void setViewStatement(const ORXString& value) { statement_ = value; }
    // 1: the view's columns are written with a stored statement.
    int getViewStatementKind() const { return statementKind_; }
    void setViewStatementKind(int value) { statementKind_ = value; }
    int getSQLViewAttributeCount() const { return static_cast<int>(columns_.size()); }
    ORXSQLViewAttribute* getSQLViewAttribute(int i) const {
        return columns_[static_cast<std::size_t>(i)];
    }
    void getFeatureByPosition(ORXFeatureByPosition& list) const;

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXSQLViewAttribute;
    ORXString statement_;
    int statementKind_ = 1;
    ORXPartList<ORXSQLViewAttribute> columns_;
};

// A column of a view, derived from a table column or another view column.
class ORXSQLViewAttribute : public ORXFeature {
  public:
    ORXSQLViewAttribute() : ORXFeature(ORX_ET_SQL_VIEW_ATTRIBUTE) {}
    ~ORXSQLViewAttribute() override;
    // Appends the column to `view`; refused when it lies elsewhere already.
    bool addAssociatedView(ORXSQLViewEntity* view);
    ORXSQLViewEntity* getView() const;
    // The attribute or view attribute it derives from, or null.
    ORXFeature* getSourceFeature() const { return source_; }
    bool setSourceFeature(ORXFeature* source);

  private:
    friend class ORXFeature;
    ORXFeature* source_ = nullptr;
};

// A diagram of a design package: its members and the presentation elements
// that draw some of them.
class ORXDiagram : public ORXModelObject {
  public:
    ORXDiagram() : ORXModelObject(ORX_ET_DIAGRAM) {}
    ~ORXDiagram() override;
    ORXDesignPackage* getOwnerPackage() const { return ownerPackage_; }
    int getPresentationElementCount() const { return presentations_.count(); }
    ORXPresentationElement* getPresentationElement(int i) const { return presentations_.get(i); }
    bool containsPresentationElement(const ORXPresentationElement* element) const;
    // Whether `object` belongs to the diagram.
    bool containsModelElement(const ORXObject* object) const;
    int getMemberCount() const { return members_.count(); }
    ORXModelObject* getMember(int i) const { return members_.get(i); }

  protected:
    void forEachOwned(const ORXOwnedVisitor& f) override;

  private:
    friend class ORXModelObject;
    friend class ORXPresentationElement;
    friend class ORXDesignPackage;
    ORXDesignPackage* ownerPackage_ = nullptr;
    ORXLinkList<ORXPresentationElement> presentations_;
    ORXLinkList<ORXModelObject> members_;
};

// A symbol of a diagram: the object it shows, its centre, size and colours
// (0xRRGGBB).
class ORXPresentationElement : public ORXObject {
  public:
    ORXPresentationElement() : ORXObject(ORX_ET_PRESENTATION_ELEMENT) {}
    ~ORXPresentationElement() override;
    // Places the element in `diagram` (the diagram owns it from then on);
    // refused when it lies in a diagram already.
    bool addDiagram(ORXDiagram* diagram);
    ORXDiagram* getDiagram() const { return diagram_; }
    ORXModelObject* getSubjectModelObject() const { return subject_; }
    // Makes `object` the element's subject; refused when it has one.
    bool addSubjectModelObject(ORXModelObject* object);
    int getX() const { return x_; }
    int getY() const { return y_; }
    int getWidth() const { return width_; }
    int getHeight() const { return height_; }
    void setGeometry(int x, int y, int width, int height) {
        x_ = x;
        y_ = y;
        width_ = width;
        height_ = height;
    }
    int getBackgroundColor() const { return background_; }
    int getLineColor() const { return line_; }
    int getFontColor() const { return font_; }
    void setColors(int background, int line, int font) {
        background_ = background;
        line_ = line;
        font_ = font;
    }

  protected:
    explicit ORXPresentationElement(int elementType) : ORXObject(elementType) {}

  private:
    friend class ORXModelObject;
    friend class ORXDiagram;
    // The numbers first: the first of them fills the padding after the object's fields.
    int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    int background_ = 0, line_ = 0, font_ = 0;
    ORXDiagram* diagram_ = nullptr;
    ORXModelObject* subject_ = nullptr;
};

// A presentation element made without a drawing of its own (no position).
class ORXProjection : public ORXPresentationElement {
  public:
    ORXProjection() : ORXPresentationElement(ORX_ET_PROJECTION) {}
};
