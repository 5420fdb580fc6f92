// Byte counts as people read them, in decimal units (1 KB = 1000 bytes):
// the "file" count style of file managers. Used for rates in both programs.
#pragma once

#include <QString>
#include <cstdint>

namespace orbistat {

// "Zero KB", "1 byte", "999 bytes", "80 KB", "1.2 MB", "1.23 GB" ... "EB".
// Kilobytes show no fraction digit, megabytes one, larger units two;
// trailing zeros are dropped ("1 MB", "1.5 GB"). A value that rounds up to
// 1000 of a unit is shown in the next unit ("1 MB", not "1000 KB").
QString fileStyleByteCount(uint64_t bytes);

} // namespace orbistat
