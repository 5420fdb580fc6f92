#include "platform/linux/ReadFully.h"

#include <cerrno>
#include <unistd.h>

namespace orbistat {

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
