// The framework's buffered output file.

#include "orx/ORXFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "orx/ORXException.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// Writes all `size` bytes, going on after interruptions and short writes;
// returns 0 or the error number of the failure.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        // A write that accepts nothing and reports no error would loop forever.
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// The temporary files being written, for removeTemporaryFiles(), which a
// signal handler may call: plain pointers in a fixed table, no allocation.
constexpr int kTemporarySlots = 16;
std::atomic<const char*> temporaryFiles[kTemporarySlots];
std::atomic<unsigned> temporaryCounter{0};

int takeSlot(const char* path) {
    for (int i = 0; i < kTemporarySlots; ++i) {
        const char* expected = nullptr;
        if (temporaryFiles[i].compare_exchange_strong(expected, path))
            return i;
    }
    return -1;
}

}  // namespace

ORXFile::ORXFile() : buffer_(kBufferSize) {}

ORXFile::~ORXFile() {
    if (fd_ < 0)
        return;
    // A replacement never finished by close() is abandoned, not put in place.
    if (!temporary_.empty()) {
        discard();
        return;
    }
    try {
        close();
    } catch (...) {
        // A destructor cannot report; callers who care call close() themselves.
    }
}

ORXFile& ORXFile::operator=(const ORXString& path) {
    path_ = path;
    return *this;
}

bool ORXFile::open(std::ios_base::openmode mode) {
    if (fd_ >= 0) {
        try {
            close();
        } catch (const ORXException&) {
            // The earlier file's failure belongs to its own close; the new
            // open still proceeds.
        }
    }
    if (path_.empty())
        return false;
    used_ = 0;
    written_ = 0;
    int error = 0;
    if (!(mode & std::ios_base::app)) {
        const int fd = openReplacement(error);
        if (fd >= 0) {
            fd_ = fd;
            return true;
        }
        if (error != 0) {
            errno = error;
            return false;
        }
    }
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    flags |= (mode & std::ios_base::app) ? O_APPEND : O_TRUNC;
    int fd;
    do {
        fd = ::open(path_.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    fd_ = fd;
    return true;
}

// Creates the temporary file that will replace the path's file. Returns its
// descriptor; or -1 with `error` 0 when the file is to be written directly
// (a device, a FIFO, a folder where no temporary file can be made), or -1
// with the error that stops the open.
int ORXFile::openReplacement(int& error) {
    error = 0;
    std::string target = path_.str();
    struct stat link;
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // The file the link names is replaced; the link stays.
        char resolved[PATH_MAX];
        if (!::realpath(target.c_str(), resolved))
            return -1;
        target = resolved;
    }
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return -1;
    // A file the user may not write stays refused, as a direct open would.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        error = errno;
        return -1;
    }
    const std::string::size_type slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    int fd = -1;
    std::string temporary;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(::getpid()),
                      temporaryCounter.fetch_add(1));
        temporary = folder + "." + name + suffix;
        do {
            fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0 && errno != EEXIST)
            return -1;
    }
    if (fd < 0)
        return -1;
    if (exists)
        ::fchmod(fd, existing.st_mode & 07777);
    temporary_ = temporary;
    target_ = target;
    slot_ = takeSlot(temporary_.c_str());
    return fd;
}

void ORXFile::forgetTemporary() noexcept {
    if (slot_ >= 0)
        temporaryFiles[slot_].store(nullptr);
    slot_ = -1;
    temporary_.clear();
    target_.clear();
}

void ORXFile::discard() noexcept {
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    used_ = 0;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        forgetTemporary();
    }
}

void ORXFile::removeTemporaryFiles() noexcept {
    for (std::atomic<const char*>& slot : temporaryFiles) {
        if (const char* path = slot.load())
            ::unlink(path);
    }
}

ORXFile& ORXFile::operator<<(const ORXString& text) {
    write(text.c_str(), static_cast<std::size_t>(text.getLength()));
    return *this;
}

ORXFile& ORXFile::operator<<(const char* text) {
    if (text)
        write(text, std::strlen(text));
    return *this;
}

ORXFile& ORXFile::operator<<(char c) {
    write(&c, 1);
    return *this;
}

// std::endl writes a line feed into the buffer without flushing: a system
// call per element line would dominate the time to write a large document.
// std::flush flushes; every other manipulator ends the line like std::endl.
ORXFile& ORXFile::operator<<(std::ostream& (*manipulator)(std::ostream&)) {
    using Manipulator = std::ostream& (*)(std::ostream&);
    if (manipulator == static_cast<Manipulator>(std::flush<char, std::char_traits<char>>)) {
        if (fd_ < 0)
            throw ORXException("File '" + path_ + "' is not open for writing");
        flush();
        return *this;
    }
    write("\n", 1);
    return *this;
}

void ORXFile::write(const char* data, std::size_t size) {
    if (fd_ < 0)
        throw ORXException("File '" + path_ + "' is not open for writing");
    written_ += size;
    if (used_ + size <= buffer_.size()) {
        std::memcpy(buffer_.data() + used_, data, size);
        used_ += size;
        return;
    }
    flush();
    // A block at least as large as the buffer goes out directly rather than
    // being copied through it.
    if (size >= buffer_.size()) {
        writeOut(data, size);
        return;
    }
    std::memcpy(buffer_.data(), data, size);
    used_ = size;
}

void ORXFile::flush() {
    if (fd_ < 0 || used_ == 0)
        return;
    // Empty the buffer first: after a failure the lost bytes are not retried
    // by a later flush or close.
    const std::size_t size = used_;
    used_ = 0;
    writeOut(buffer_.data(), size);
}

void ORXFile::close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    const int flushError = writeAll(fd, buffer_.data(), used_);
    fd_ = -1;
    used_ = 0;
    // On Linux close() releases the descriptor even when it reports EINTR, so
    // it is never retried.
    const int closeResult = ::close(fd);
    const int closeError = errno;
    if (!temporary_.empty()) {
        // Only a whole file replaces the previous one.
        int renameError = 0;
        if (flushError == 0 && closeResult == 0 &&
            ::rename(temporary_.c_str(), target_.c_str()) != 0)
            renameError = errno;
        if (flushError != 0 || closeResult != 0 || renameError != 0)
            ::unlink(temporary_.c_str());
        forgetTemporary();
        if (renameError != 0)
            fail("replace", renameError);
    }
    if (flushError != 0)
        fail("write to", flushError);
    if (closeResult != 0)
        fail("close", closeError);
}

void ORXFile::writeOut(const char* data, std::size_t size) {
    if (const int error = writeAll(fd_, data, size))
        fail("write to", error);
}

void ORXFile::fail(const char* what, int error) {
    lastError_ = error;
    throw ORXException(ORXString("Cannot ") + what + " file '" + path_ +
                       "': " + std::strerror(error));
}
