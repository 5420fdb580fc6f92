#include "platform/linux/HotFile.h"

#include "platform/linux/ReadFully.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orbistat {

HotFile::HotFile(const LinuxRoot& root, std::string_view relative, size_t maxBytes)
    : root_(root)
    , relative_(relative)
    , maxBytes_(maxBytes)
    , keepOpen_(!root.isRecorded())
    , buffer_(std::min<size_t>(4096, maxBytes), '\0')
{
}

HotFile::~HotFile() { close(); }

bool HotFile::open()
{
    if (fd_ >= 0)
        return true;
    fd_ = root_.openForReading(relative_);
    return fd_ >= 0;
}

void HotFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::optional<std::string_view> HotFile::read()
{
    const bool wasOpen = fd_ >= 0;
    if (!open())
        return std::nullopt;
    int error = 0;
    if (auto content = readOpen(error))
        return content;
    // The kept descriptor belonged to a device that is gone; the path may
    // name its successor.
    if (wasOpen && error == ENODEV && open())
        return readOpen(error);
    return std::nullopt;
}

std::optional<std::string_view> HotFile::readOpen(int& error)
{
    for (;;) {
        const auto read = preadFully(fd_, buffer_.data(), buffer_.size());
        if (!read) {
            error = errno;
            close();
            return std::nullopt;
        }
        const size_t filled = *read;
        // A full buffer may mean the file is larger: grow and read again
        // from the start, so the content is one consistent generation.
        if (filled == buffer_.size() && buffer_.size() < maxBytes_) {
            buffer_.resize(std::min(buffer_.size() * 2, maxBytes_));
            continue;
        }
        if (!keepOpen_)
            close();
        return std::string_view(buffer_.data(), filled);
    }
}

} // namespace orbistat
