#include "cli/Safeguards.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "importers/modelfile/JsonModel.h"
#include "orx/ORXFile.h"
#include "orx/ORXStack.h"

namespace cli {

namespace {

void removeTemporaryAndEnd(int signalNumber) {
    ORXFile::removeTemporaryFiles();
    // End as the signal would have ended the program, so the caller sees it.
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// What a path names: the file's identity when it exists, else its path made
// absolute and free of "." and "..".
struct FileIdentity {
    bool exists = false;
    bool regular = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::filesystem::path path;
};

FileIdentity identify(const std::string& path) {
    FileIdentity identity;
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) {
        identity.exists = true;
        identity.regular = S_ISREG(status.st_mode);
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
        return identity;
    }
    std::error_code ignored;
    identity.path =
        std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored);
    if (identity.path.empty())
        identity.path = std::filesystem::path(path).lexically_normal();
    return identity;
}

// Whether writing `second` would overwrite the file `first` names. Devices
// and FIFOs are never overwritten by a write, so they never clash.
bool sameFile(const FileIdentity& first, const FileIdentity& second) {
    if (first.exists != second.exists)
        return false;
    if (first.exists)
        return first.regular && first.device == second.device && first.inode == second.inode;
    return first.path == second.path;
}

// The output file: the last value given to the option "File".
std::optional<std::string> outputPath(const CommandLine& line) {
    std::optional<std::string> path;
    for (const OptionSetting& setting : line.settings) {
        if (setting.name == kFileOption)
            path = setting.value;
    }
    return path;
}

// Stack per model object for the export's thread; a chain of tables takes
// a few hundred bytes per object in a plain build, several times more with
// sanitizers.
constexpr std::size_t kStackPerObject = 4096;

}  // namespace

void runWithStackFor(const std::function<void()>& work) {
    // The deepest recursion takes at most a few frames per object of the
    // model, and the model holds at most the objects the process has made,
    // a bound known without a walk over a large model. The stack
    // is reserved address space: only the pages the export touches take
    // memory. Where so large a stack is not allowed, a smaller one is tried,
    // down to the base; the bridge's stack guard then ends an export that
    // would overflow it with a message.
    constexpr std::size_t kBase = std::size_t{64} << 20;
    constexpr std::size_t kLargest = std::size_t{16} << 30;
    std::size_t bytes =
        kBase + std::min<std::uint64_t>(ORXObject::getMadeCount(), kLargest / kStackPerObject) *
                    kStackPerObject;
    for (; bytes > kBase; bytes /= 2) {
        if (ORXStack::runWithStack(bytes, work))
            return;
    }
    if (!ORXStack::runWithStack(kBase, work))
        work();  // no thread at all: the caller's own stack, still guarded
}

void ensureStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() takes the lowest free descriptor, which is `fd` itself.
        const int opened = ::open("/dev/null", fd == 2 ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd)
            ::close(opened);
    }
}

void installSignalHandlers() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGINT, removeTemporaryAndEnd);
    std::signal(SIGTERM, removeTemporaryAndEnd);
}

void finishStandardOutput() {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        throw std::runtime_error(std::string("cannot write to standard output: ") +
                                 std::strerror(error != 0 ? error : EIO));
    }
}

void requireRegularFile(const std::string& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return;  // the source names the missing file in its own words
    if (S_ISDIR(status.st_mode))
        throw importers::ModelFileError(path + ": cannot read the file: " + std::strerror(EISDIR));
    if (!S_ISREG(status.st_mode))
        throw importers::ModelFileError(path +
                                        ": not a regular file (a device, FIFO or socket "
                                        "is never read as a model)");
}

void refuseOverwritingInput(const CommandLine& line) {
    const std::optional<std::string> output = line.hasOutput ? outputPath(line) : std::nullopt;
    const bool inputIsFile = line.input.find("://") == std::string::npos;
    const FileIdentity input = identify(line.input);
    if (output && !output->empty() && inputIsFile && sameFile(input, identify(*output)))
        throw UsageError("the output file '" + *output + "' is the input file");
    if (!line.dumpModel.empty() && inputIsFile && sameFile(input, identify(line.dumpModel)))
        throw UsageError("the model dump '" + line.dumpModel + "' is the input file");
    if (output && !output->empty() && !line.dumpModel.empty() &&
        sameFile(identify(*output), identify(line.dumpModel)))
        throw UsageError("the output file and the model dump are the same file '" + *output + "'");
    // The picture is written last, after the export read the input and
    // wrote the output: it must replace neither, nor the model dump.
    if (line.svg.empty())
        return;
    const FileIdentity picture = identify(line.svg);
    if (inputIsFile && sameFile(input, picture))
        throw UsageError("the picture '" + line.svg + "' is the input file");
    if (output && !output->empty() && sameFile(identify(*output), picture))
        throw UsageError("the output file and the picture are the same file '" + *output + "'");
    if (!line.dumpModel.empty() && sameFile(identify(line.dumpModel), picture))
        throw UsageError("the model dump and the picture are the same file '" + line.dumpModel +
                         "'");
}

void checkIndentSettings(const CommandLine& line) {
    for (const OptionSetting& setting : line.settings) {
        if (setting.name != kIndentOption)
            continue;
        const bool blanksOnly = setting.value.find_first_not_of(" \t") == std::string::npos;
        if (!blanksOnly || setting.value.size() > kMaximumIndent) {
            throw UsageError("the indentation must be blanks and tabs only, at most " +
                             std::to_string(kMaximumIndent) + " of them; got '" +
                             setting.value.substr(0, 80) +
                             (setting.value.size() > 80 ? "...'" : "'"));
        }
    }
}

std::string terminalSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (c >= 0x20 && c != 0x7F && !c1) {
            out += static_cast<char>(c);
            continue;
        }
        const std::size_t length = c1 ? 2 : 1;
        for (std::size_t k = 0; k < length; ++k) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X",
                          static_cast<unsigned char>(text[i + k]));
            out += buffer;
        }
        i += length - 1;
    }
    return out;
}

}  // namespace cli
