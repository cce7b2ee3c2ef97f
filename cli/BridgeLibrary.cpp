#include "cli/BridgeLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace cli {

namespace {

using Factory = ORXVelmarExportDllInterface* (*)();

std::string loaderReason() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

}  // namespace

BridgeLibrary::BridgeLibrary(const std::string& path) : path_(path) {
    dlerror();  // clear any earlier report
    // RTLD_NOW: a library with unresolved symbols fails here, not in mid-export.
    // A name without a slash would make the loader search its library path
    // (and perhaps load another library of that name): it names a file here.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        throw BridgeLoadError("cannot load bridge library '" + path + "': " + loaderReason());
    }
    dlerror();
    void* symbol = dlsym(handle, kFactorySymbol);
    if (!symbol) {
        std::string reason = loaderReason();
        dlclose(handle);
        throw BridgeLoadError("bridge library '" + path + "' has no factory " + kFactorySymbol +
                              ": " + reason);
    }
    // POSIX guarantees that object and function pointers convert both ways.
    auto factory = reinterpret_cast<Factory>(symbol);
    interface_ = factory();
    if (!interface_) {
        dlclose(handle);
        throw BridgeLoadError("bridge library '" + path + "': " + kFactorySymbol +
                              " returned no interface");
    }
}

std::string defaultBridgePath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        // Without /proc the library is looked up by the loader's own search.
        return kBridgeFileName;
    }
    return (self.parent_path() / kBridgeFileName).string();
}

}  // namespace cli
