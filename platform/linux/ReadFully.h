// Reads a file descriptor from offset 0 until its end or a full buffer.
#pragma once

#include <cstddef>
#include <optional>

namespace orbistat {

// The number of bytes read (at most `capacity`); absent on a read error.
// Interrupted reads are retried. pread from offset 0 makes procfs generate
// the content afresh on a descriptor kept open.
std::optional<size_t> preadFully(int fd, char* data, size_t capacity);

} // namespace orbistat
