// The root directory every Linux adapter reads below: "/" on a running
// machine, a recorded tree under ORBISTAT_SYSROOT or in tests. Paths passed
// in are relative ("proc/stat", "sys/class/hwmon").
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbistat {

// The text of a one-value attribute's bytes: ends at the first NUL (the
// device tree's strings are NUL-terminated), ASCII whitespace trimmed,
// invalid UTF-8 replaced by U+FFFD.
QString attributeText(std::string_view bytes);

class LinuxRoot {
public:
    explicit LinuxRoot(std::filesystem::path root = "/", bool isRecorded = false);

    // The root of the running machine, or the tree named by ORBISTAT_SYSROOT.
    static LinuxRoot fromEnvironment();

    const std::filesystem::path& path() const { return root_; }
    std::filesystem::path resolve(std::string_view relative) const;
    // True for a recorded tree: sources that describe the host (nl80211,
    // getifaddrs, D-Bus services, child processes) must not be consulted.
    bool isRecorded() const { return isRecorded_; }

    // Called with the relative path of every file opened through this root
    // (and the copies made of it afterwards), from the thread that opens it:
    // lets a test see every file a tick touches.
    using OpenObserver = std::function<void(std::string_view relative)>;
    void setOpenObserver(OpenObserver observer);
    // A read-only descriptor of the file (close-on-exec), or -1, also for
    // anything that is no regular file: see openRegularFile, which never
    // waits on a FIFO.
    int openForReading(std::string_view relative) const;

    // Raw bytes of a file, at most `maxBytes` (sysfs serves one page).
    // Absent when the file cannot be opened or read, or is no regular file
    // (a FIFO, device node or directory in its place): see openRegularFile.
    std::optional<std::string> readBytes(std::string_view relative, size_t maxBytes = 4096) const;
    // A one-value attribute as text: ends at the first NUL, ASCII whitespace
    // trimmed, invalid UTF-8 replaced by U+FFFD.
    std::optional<QString> readText(std::string_view relative) const;
    std::optional<uint64_t> readUnsigned(std::string_view relative) const;
    std::optional<int64_t> readSigned(std::string_view relative) const;

    bool exists(std::string_view relative) const;
    // Entry names of a directory in byte order; empty when it cannot be listed.
    std::vector<std::string> list(std::string_view relative) const;
    // The canonical path a link resolves to; absent for a dangling link (a
    // device being removed) or a missing entry.
    std::optional<std::string> resolvedLink(std::string_view relative) const;
    // Whether the device at this sysfs path is runtime-suspended
    // (power/runtime_status reads "suspended"). A suspended GPU must not be
    // polled: reading it wakes it and drains a laptop's battery.
    bool isRuntimeSuspended(std::string_view devicePath) const;

private:
    std::filesystem::path root_;
    bool isRecorded_ = false;
    std::shared_ptr<const OpenObserver> openObserver_;
};

} // namespace orbistat
