// A file read on every tick (/proc/stat, /proc/meminfo, a sysfs attribute).
// The descriptor stays open and each read starts again at offset 0 with
// pread, which for procfs and sysfs regenerates the content: no open/close
// per tick. A read that fails on a kept descriptor (the device went away:
// ENODEV) opens the path afresh and reads once more, so a device that was
// replaced under the same name is read at once. Below a recorded tree the
// file is opened afresh for every read, because a replay swaps the tree (t0,
// then t1) underneath the same path.
#pragma once

#include "platform/linux/LinuxRoot.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orbistat {

class HotFile {
public:
    HotFile(const LinuxRoot& root, std::string_view relative, size_t maxBytes = 1 << 20);
    ~HotFile();
    HotFile(const HotFile&) = delete;
    HotFile& operator=(const HotFile&) = delete;

    // The whole content (at most maxBytes), valid until the next read;
    // absent when the file cannot be opened or read, or is no regular file.
    std::optional<std::string_view> read();

private:
    bool open();
    void close();
    // errno of a failed read in `error`.
    std::optional<std::string_view> readOpen(int& error);

    LinuxRoot root_;
    std::string relative_;
    size_t maxBytes_;
    bool keepOpen_;
    int fd_ = -1;
    std::string buffer_;
};

} // namespace orbistat
