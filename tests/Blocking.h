// Runs work that might block on a FIFO, and tells whether it finished in
// time. When it did not, every reader still stuck on the given FIFOs is set
// free (a writer opens and closes each, so a blocked open returns and the
// read sees the end), so the test fails instead of hanging.
#pragma once

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orbistat::test {

inline void makeFifo(const std::filesystem::path& path)
{
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path.parent_path());
    ::mkfifo(path.c_str(), 0600);
}

// Sets free every reader blocked on these FIFOs: a writer opens and closes
// each, so a blocked open returns and the read after it sees the end.
inline void releaseReaders(const std::vector<std::filesystem::path>& fifos)
{
    for (const auto& fifo : fifos) {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }
}

inline bool finishesWithin(std::chrono::milliseconds limit, const std::vector<std::filesystem::path>& fifos,
                           const std::function<void()>& work)
{
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(limit) == std::future_status::ready) {
        done.get();
        return true;
    }
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        releaseReaders(fifos);
    done.get();
    return false;
}

} // namespace orbistat::test
