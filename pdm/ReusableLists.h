#pragma once
// By-position lists that the writers reuse instead of filling a new one per call.

#include <cstddef>
#include <memory>
#include <vector>

// The spare lists of one kind. The writers recurse (a table's index writes its
// reference, which writes the parent table), so every call borrows a list of
// its own and gives it back when it returns. A list keeps its capacity, so an
// export allocates only as many lists as its deepest nesting needs, each as
// long as the longest list it held.
template <class List>
class ReusableLists {
  public:
    // A list borrowed for one scope, emptied; given back by the destructor.
    class Borrowed {
      public:
        explicit Borrowed(ReusableLists& owner) : owner_(owner), list_(owner.take()) {}
        ~Borrowed() { owner_.giveBack(std::move(list_)); }
        Borrowed(const Borrowed&) = delete;
        Borrowed& operator=(const Borrowed&) = delete;
        List& operator*() const { return *list_; }
        List* operator->() const { return list_.get(); }

      private:
        ReusableLists& owner_;
        std::unique_ptr<List> list_;
    };

    Borrowed borrow() { return Borrowed(*this); }

  private:
    std::unique_ptr<List> take() {
        if (spare_.empty()) {
            // Room for every list made, so that giving one back never allocates.
            spare_.reserve(++made_);
            return std::make_unique<List>();
        }
        std::unique_ptr<List> list = std::move(spare_.back());
        spare_.pop_back();
        list->items.clear();
        return list;
    }
    void giveBack(std::unique_ptr<List> list) noexcept { spare_.push_back(std::move(list)); }

    std::vector<std::unique_ptr<List>> spare_;
    std::size_t made_ = 0;
};
