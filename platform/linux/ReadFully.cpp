#include "platform/linux/ReadFully.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orbistat {

int openRegularFile(const char* path)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<size_t> preadFully(int fd, char* data, size_t capacity)
{
    size_t filled = 0;
    while (filled < capacity) {
        const ssize_t got = ::pread(fd, data + filled, capacity - filled, static_cast<off_t>(filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    return filled;
}

} // namespace orbistat
