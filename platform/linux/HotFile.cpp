#include "platform/linux/HotFile.h"

#include "platform/linux/ReadFully.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orbistat {

HotFile::HotFile(const LinuxRoot& root, std::string_view relative, size_t maxBytes)
    : root_(root)
    , relative_(relative)
    , maxBytes_(maxBytes)
    , keepOpen_(!root.isRecorded())
    , buffer_(4096, '\0')
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
    if (!open())
        return std::nullopt;
    for (;;) {
        const auto read = preadFully(fd_, buffer_.data(), buffer_.size());
        if (!read) {
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
