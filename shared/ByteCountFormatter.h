// Byte counts as people read them: "1.2 MB", "977 KB", "412 bytes". The unit
// is the largest one the count reaches; kilobytes are shown whole, megabytes
// with one decimal and larger units with two, trailing zeros dropped.
#pragma once

#include <QString>
#include <cstdint>

namespace orbistat {

enum class ByteCountStyle {
    file,    // 1000 bytes to the kilobyte: file and disk sizes
    memory,  // 1024 bytes to the kilobyte: RAM
};

// Zero reads "Zero KB"; one byte "1 byte". Whole numbers of four digits or
// more are grouped with commas ("1,000 KB" of memory).
QString formatByteCount(uint64_t bytes, ByteCountStyle style);

} // namespace orbistat
