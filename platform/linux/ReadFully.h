// Opening and reading the kernel's attribute files.
#pragma once

#include <cstddef>
#include <optional>

namespace orbistat {

// Opens a file for reading only if it is a regular file, as every procfs
// and sysfs attribute is; -1 otherwise. The open itself never waits: it is
// made with O_NONBLOCK, because opening a FIFO for reading blocks until a
// writer appears, and a FIFO (or a device node, a directory) where an
// attribute belongs would then freeze the tick. The type is checked on the
// open descriptor, so a file swapped after a check cannot slip through.
// O_NONBLOCK changes nothing for regular files. An attribute whose driver
// blocks in its read handler is beyond what a flag can prevent.
int openRegularFile(const char* path);

// The number of bytes read (at most `capacity`); absent on a read error.
// Interrupted reads are retried. pread from offset 0 makes procfs generate
// the content afresh on a descriptor kept open.
std::optional<size_t> preadFully(int fd, char* data, size_t capacity);

} // namespace orbistat
