#pragma once
// The bridge library, loaded at run time the way a host loads any bridge:
// through the dynamic loader and the factory the library exports.

#include <stdexcept>
#include <string>

#include "orx/ORXVelmar.h"

namespace cli {

// A bridge library that cannot be loaded, or that lacks its factory.
class BridgeLoadError : public std::runtime_error {
  public:
    explicit BridgeLoadError(const std::string& message) : std::runtime_error(message) {}
};

// The name under which the bridge identifies itself to the framework.
inline constexpr const char* kBridgeIdentifier = "ORXSybasePowerDesignerPdm08Export";
// The file name of the bridge library installed beside the program.
inline constexpr const char* kBridgeFileName = "libORXSybasePowerDesignerPdm08Export.so";
// The factory the bridge library exports.
inline constexpr const char* kFactorySymbol = "getORXSybasePowerDesignerPdm08ExportInterface";

// A loaded bridge library. The library stays loaded until the process ends:
// its literal objects and its interface object must outlive every use.
class BridgeLibrary {
  public:
    // Loads the library at `path` and obtains its interface object. Raises
    // BridgeLoadError naming the file and the loader's reason.
    explicit BridgeLibrary(const std::string& path);

    const std::string& path() const { return path_; }
    ORXVelmarExportDllInterface& interface() const { return *interface_; }

  private:
    std::string path_;
    ORXVelmarExportDllInterface* interface_ = nullptr;
};

// The path of the bridge library installed beside the running program.
std::string defaultBridgePath();

}  // namespace cli
