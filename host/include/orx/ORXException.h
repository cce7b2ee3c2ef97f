#pragma once
// The framework's exception.

#include <exception>

#include "orx/ORXString.h"

// The one exception type of the framework; its message is shown to the user
// as it stands.
class ORXException : public std::exception {
  public:
    explicit ORXException(const ORXString& message) : message_(message) {}
    const ORXString& getMessage() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    ORXString message_;
};
