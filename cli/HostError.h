#pragma once

#include <stdexcept>
#include <string>

namespace cli {

// A failure of one of the host's own steps around the export: a selection
// that leaves nothing to export, a picture that cannot be written. The
// program prints it and exits with status 2.
class HostError : public std::runtime_error {
  public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace cli
