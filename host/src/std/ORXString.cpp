// Counted byte strings.

#include "orx/ORXString.h"

#include <cstring>

// Constant-initialised so that other libraries' load-time objects may use it
// before this library's dynamic initialisers have run. clang 14 with
// libstdc++ 12 does not see std::string's constructor as constant, so there
// it is initialised dynamically; this library's initialisers still run
// before those of the libraries that link it.
#if defined(__clang__)
const ORXString emptyString;
#else
constinit const ORXString emptyString;
#endif

ORXString::ORXString(const char* text, int length) {
    if (!text)
        return;
    if (length < 0)
        data_.assign(text);
    else
        data_.assign(text, static_cast<std::size_t>(length));
}

ORXString::ORXString(int value) : data_(std::to_string(value)) {}

ORXString& ORXString::operator=(const char* text) {
    if (text)
        data_.assign(text);
    else
        data_.clear();
    return *this;
}

ORXString& ORXString::operator+=(const ORXString& other) {
    data_ += other.data_;
    return *this;
}

ORXString& ORXString::operator+=(const char* text) {
    if (text)
        data_ += text;
    return *this;
}

ORXString& ORXString::operator+=(char c) {
    data_ += c;
    return *this;
}

ORXString operator+(const ORXString& a, const ORXString& b) {
    std::string joined;
    joined.reserve(a.data_.size() + b.data_.size());
    joined += a.data_;
    joined += b.data_;
    return ORXString(std::move(joined));
}

ORXString operator+(const ORXString& a, const char* b) {
    ORXString joined(a);
    joined += b;
    return joined;
}

ORXString operator+(const char* a, const ORXString& b) {
    ORXString joined(a);
    joined += b;
    return joined;
}

ORXString ORXString::mid(int start, int count) const {
    if (start < 0)
        start = 0;
    const auto from = static_cast<std::size_t>(start);
    if (from >= data_.size())
        return ORXString();
    if (count < 0)
        return ORXString(data_.substr(from));
    return ORXString(data_.substr(from, static_cast<std::size_t>(count)));
}

void ORXString::resize(int n) {
    data_.resize(n < 0 ? 0 : static_cast<std::size_t>(n), '\0');
}

// std::string keeps a zero byte after its last character, so the buffer of
// size() bytes handed out here is always terminated.
char* ORXString::lock() {
    return data_.data();
}

void ORXString::unlock(bool keepLength) {
    if (keepLength)
        return;
    data_.resize(std::strlen(data_.c_str()));
}
