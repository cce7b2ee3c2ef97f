// The framework's buffered output file.

#include "orx/ORXFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

}  // namespace

ORXFile::ORXFile() : buffer_(kBufferSize) {}

ORXFile::~ORXFile() {
    if (fd_ < 0)
        return;
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
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    flags |= (mode & std::ios_base::app) ? O_APPEND : O_TRUNC;
    int fd;
    do {
        fd = ::open(path_.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    fd_ = fd;
    used_ = 0;
    written_ = 0;
    return true;
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
    throw ORXException(ORXString("Cannot ") + what + " file '" + path_ +
                       "': " + std::strerror(error));
}
