#pragma once
// The ordered list of the host framework.

#include <cstddef>
#include <vector>

// An ordered list of elements (pointers or identifiers). Destroying or
// emptying the list never destroys what the elements point at.
template <class T>
class ORXVector {
  public:
    ORXVector() = default;
    // Appends `element` at the end.
    void add(T element) { items_.push_back(element); }
    T get(int i) const { return items_[static_cast<std::size_t>(i)]; }
    T operator[](int i) const { return get(i); }
    int getCount() const { return static_cast<int>(items_.size()); }
    // Removes every element (the elements themselves are not freed).
    void empty() { items_.clear(); }
    bool isEmpty() const { return items_.empty(); }
    typename std::vector<T>::const_iterator begin() const { return items_.begin(); }
    typename std::vector<T>::const_iterator end() const { return items_.end(); }

  private:
    std::vector<T> items_;
};
