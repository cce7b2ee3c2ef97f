// Preloaded into pdm-export by the tests to make a disk fill up: once the
// bytes written to files (descriptors above 2) pass PDM_TEST_WRITE_LIMIT,
// every further write to a file fails with ENOSPC. PDM_TEST_WRITE_PAUSE_MS
// makes every write to a file wait that long, so that a signal surely
// arrives while the output is being written.

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace {

using WriteFunction = ssize_t (*)(int, const void*, size_t);
unsigned long long written = 0;

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto next = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "write"));
    static const char* limitText = std::getenv("PDM_TEST_WRITE_LIMIT");
    static const char* pauseText = std::getenv("PDM_TEST_WRITE_PAUSE_MS");
    if (fd > 2 && pauseText) {
        const long milliseconds = std::strtol(pauseText, nullptr, 10);
        timespec pause{milliseconds / 1000, milliseconds % 1000 * 1000000};
        nanosleep(&pause, nullptr);
    }
    if (fd > 2 && limitText) {
        const unsigned long long limit = std::strtoull(limitText, nullptr, 10);
        if (written + size > limit) {
            errno = ENOSPC;
            return -1;
        }
        written += size;
    }
    return next(fd, data, size);
}
