// libFuzzer target: any bytes through the snapshot decoder. A decoded
// snapshot must encode again and decode to the same record.
#include "shared/SharedStats.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto stats = orbistat::decodeSharedStats(bytes);
    if (!stats)
        return 0;
    const auto encoded = orbistat::encodeSharedStats(*stats);
    if (!encoded)
        std::abort();  // whatever decodes is finite and must encode
    const auto again = orbistat::decodeSharedStats(*encoded);
    if (!again || !(*again == *stats))
        std::abort();
    return 0;
}
