#pragma once
// Counted byte strings of the host framework.

#include <cstddef>
#include <string>
#include <string_view>

// A counted byte string with value semantics. Texts are bytes; the model and
// the documents use UTF-8, but nothing here checks or converts encodings.
class ORXString {
  public:
    ORXString() = default;
    // Builds from `length` bytes of `text`; a length of -1 reads up to the
    // terminating zero byte. A null text gives the empty string.
    ORXString(const char* text, int length = -1);              // NOLINT: implicit by design
    ORXString(const std::string& text) : data_(text) {}        // NOLINT
    ORXString(std::string&& text) : data_(std::move(text)) {}  // NOLINT
    ORXString(std::string_view text) : data_(text) {}          // NOLINT
    // The decimal text of `value`.
    explicit ORXString(int value);

    ORXString& operator=(const char* text);
    ORXString& operator+=(const ORXString& other);
    ORXString& operator+=(const char* text);
    ORXString& operator+=(char c);
    friend ORXString operator+(const ORXString& a, const ORXString& b);
    friend ORXString operator+(const ORXString& a, const char* b);
    friend ORXString operator+(const char* a, const ORXString& b);

    // Exact, byte-for-byte comparison.
    bool operator==(const ORXString& other) const { return data_ == other.data_; }
    bool operator==(const char* text) const { return data_ == (text ? text : ""); }
    bool operator<(const ORXString& other) const { return data_ < other.data_; }

    // Up to `count` bytes from `start` (-1: to the end); empty when `start` is
    // past the end.
    ORXString mid(int start, int count = -1) const;
    // True when the string holds no byte.
    bool empty() const { return data_.empty(); }
    int getLength() const { return static_cast<int>(data_.size()); }
    const char* c_str() const { return data_.c_str(); }
    const std::string& str() const { return data_; }
    std::string_view view() const { return data_; }

    // Sets the size of the writable buffer that lock() hands out; new bytes are zero.
    void resize(int n);
    // A writable buffer of the current size plus a terminating zero.
    char* lock();
    // Ends an edit started with lock(). With `keepLength` false the length is
    // recomputed from the first zero byte.
    void unlock(bool keepLength = false);

  private:
    std::string data_;
};

// A shared empty string.
extern const ORXString emptyString;
