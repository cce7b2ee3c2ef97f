#include "fuzz/FuzzExport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/BridgeLibrary.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXException.h"
#include "orx/ORXLog.h"
#include "orx/ORXOption.h"
#include "tests/support/PdmCheck.h"

namespace pdmfuzz {

namespace {

// The bridge's messages are of no interest here.
class SilentLog : public ORXLog {
  public:
    void reportEvent(const ORXLogEvent&) override {}
};

[[noreturn]] void finding(const std::string& what, const std::string& detail) {
    std::fprintf(stderr, "FINDING: %s\n%s\n", what.c_str(), detail.substr(0, 4000).c_str());
    std::abort();
}

ORXVelmarExportDllInterface& bridge() {
    static cli::BridgeLibrary library(cli::defaultBridgePath());
    return library.interface();
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string scratchFile(const unsigned char* data, std::size_t size, const char* suffix) {
    const std::string path =
        "/tmp/pdm-fuzz-" + std::to_string(static_cast<long>(getpid())) + suffix;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

void exportAndCheck(ORXModel& model) {
    std::string before;
    bool dumpable = true;
    try {
        before = importers::dumpJsonModel(model, true);
    } catch (const importers::ModelFileError&) {
        dumpable = false;  // text that is not UTF-8: the dump refuses it by design
    }
    if (dumpable) {
        try {
            std::unique_ptr<ORXModel> again = importers::parseJsonModel(before, "dump.json");
            const std::string second = importers::dumpJsonModel(*again);
            if (second != before)
                finding("the dumped model loads back as another model",
                        before + "\n---\n" + second);
        } catch (const importers::ModelFileError& error) {
            finding(std::string("the dumped model does not load back: ") + error.what(), before);
        }
    }

    const std::string output = scratchFile(nullptr, 0, ".pdm");
    ORXOptionList options;
    bridge().getOptionList(options);
    options.setValue("File", ORXString(output));
    SilentLog log;
    ORXClock::setFixedTime(0);
    bool written = false;
    try {
        written = bridge().run(ORXString("ORXSybasePowerDesignerPdm08Export"), model, options, log);
    } catch (const ORXException&) {
        // A clean failure (a chain too deep for the stack) is a sound answer.
    }
    ORXClock::setFixedTime(std::nullopt);
    if (written) {
        const std::string document = readAll(output);
        const std::vector<std::string> problems = pdmtest::checkPdmDocument(document);
        if (!problems.empty())
            finding("the document is not sound: " + problems.front(), document);
    }
    if (dumpable && importers::dumpJsonModel(model) != before)
        finding("the export did not restore the model", before);
}

}  // namespace pdmfuzz
