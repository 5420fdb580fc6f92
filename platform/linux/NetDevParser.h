// Parser of /proc/net/dev.
#pragma once

#include "platform/InterfaceCountersSource.h"

#include <string_view>
#include <vector>

namespace orbistat {

// Received and sent bytes of every interface line, in file order. Old
// kernels write "eth0:123 ..." with no blank after the colon. A line that
// is cut short or holds a counter that is not a number is skipped: that
// interface is unknown this time, the others still count.
std::vector<InterfaceCounters> parseNetDev(std::string_view text);

} // namespace orbistat
