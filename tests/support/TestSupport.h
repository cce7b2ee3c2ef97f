#pragma once
// Small helpers shared by the test programs: temporary directories, whole-file
// reads and writes, and a log that records its events.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "orx/ORXLog.h"
#include "orx/ORXModel.h"

namespace pdmtest {

// A fresh directory under the system's temporary directory, removed with its
// content when the object goes.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pdm-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (!mkdtemp(buffer.data()))
            std::abort();
        path_ = buffer.data();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

// The path of a file under tests/data.
inline std::string dataFile(const std::string& name) {
    return std::string(PDM_TEST_DATA) + "/" + name;
}

// One recorded log event.
struct LoggedEvent {
    std::string text;
    std::string code;
    int level;
};

// A log that keeps every event it receives.
class RecordingLog : public ORXLog {
  public:
    void reportEvent(const ORXLogEvent& event) override {
        events.push_back({event.getText().str(), event.getCode().str(), event.getLevel()});
    }
    // The texts alone, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            out.push_back(e.text);
        return out;
    }
    std::vector<LoggedEvent> events;
};

// The element of kind T named `name` in `package`, or null.
template <class T>
T* elementNamed(const ORXDesignPackage* package, const std::string& name) {
    for (int i = 0; i < package->getModelElementCount(); ++i) {
        auto* found = dynamic_cast<T*>(package->getModelElement(i));
        if (found && found->getName() == name)
            return found;
    }
    return nullptr;
}

// The key of kind K named `name` in `cls`, or null.
template <class K>
K* keyNamed(const ORXClass* cls, const std::string& name) {
    for (int i = 0; i < cls->getKeyCount(); ++i) {
        auto* key = dynamic_cast<K*>(cls->getKey(i));
        if (key && key->getName() == name)
            return key;
    }
    return nullptr;
}

}  // namespace pdmtest
