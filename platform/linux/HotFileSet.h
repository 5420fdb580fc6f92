// Sysfs attributes that an adapter reads on every tick (a zram device's
// mm_stat, an interface's operstate, hwmon inputs, battery counters), each
// kept open as a HotFile under its relative path: the kernel regenerates an
// attribute at every read from offset 0, so the value is the one of that
// tick, without an open and a close per attribute and tick.
//
// The owner calls sweep() when it looks for its devices again; files not
// read since the previous sweep are closed then, so the descriptors of
// devices that went away do not pile up.
#pragma once

#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orbistat {

class HotFileSet {
public:
    explicit HotFileSet(LinuxRoot root);

    // The same results as LinuxRoot's readers of the same names. A file's
    // size limit is the one of its first read.
    std::optional<std::string_view> readBytes(std::string_view relative, size_t maxBytes = 4096);
    std::optional<QString> readText(std::string_view relative);
    std::optional<uint64_t> readUnsigned(std::string_view relative);
    std::optional<int64_t> readSigned(std::string_view relative);
    // Whether a device's power/runtime_status file (its path given) reads
    // "suspended", as LinuxRoot::isRuntimeSuspended tells from the device.
    bool isRuntimeSuspended(std::string_view statusFile);

    // Closes the files not read since the last sweep.
    void sweep();
    size_t size() const { return files_.size(); }

private:
    struct Entry {
        std::unique_ptr<HotFile> file;
        bool used = false;
    };

    LinuxRoot root_;
    std::map<std::string, Entry, std::less<>> files_;
};

} // namespace orbistat
