#include "shared/ByteCountFormatter.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(ByteCountFormatter, AdaptiveDigitsPerUnitInBothStyles)
{
    struct Case {
        uint64_t bytes;
        ByteCountStyle style;
        const char* expected;
    };
    const Case cases[] = {
        {0, ByteCountStyle::file, "Zero KB"},
        {0, ByteCountStyle::memory, "Zero KB"},
        {1, ByteCountStyle::file, "1 byte"},
        {999, ByteCountStyle::file, "999 bytes"},
        {1000, ByteCountStyle::file, "1 KB"},
        {1000, ByteCountStyle::memory, "1,000 bytes"},
        {1024, ByteCountStyle::memory, "1 KB"},
        {1'499, ByteCountStyle::file, "1 KB"},      // kilobytes have no decimals
        {1'200'000, ByteCountStyle::file, "1.2 MB"},
        {1'000'000, ByteCountStyle::file, "1 MB"},   // trailing ".0" dropped
        {999'999, ByteCountStyle::file, "1 MB"},     // rounds up into the next unit
        {1'048'575, ByteCountStyle::memory, "1 MB"},
        {1'000'000, ByteCountStyle::memory, "977 KB"},
        {1'022'976, ByteCountStyle::memory, "999 KB"},
        {1'047'552, ByteCountStyle::memory, "1,023 KB"},
        {420'000'000'000, ByteCountStyle::file, "420 GB"},
        {1'234'567'890, ByteCountStyle::file, "1.23 GB"},
        {1'250'000'000, ByteCountStyle::file, "1.25 GB"},
        {1'500'000'000, ByteCountStyle::file, "1.5 GB"},
        {17'000'000'000, ByteCountStyle::memory, "15.83 GB"},
        {34'359'738'368, ByteCountStyle::memory, "32 GB"},
        {20'401'094'656, ByteCountStyle::memory, "19 GB"},
        {994'662'584'320, ByteCountStyle::file, "994.66 GB"},
        {2'000'000'000'000, ByteCountStyle::file, "2 TB"},
        {UINT64_MAX, ByteCountStyle::file, "18.45 EB"},
        {UINT64_MAX, ByteCountStyle::memory, "16 EB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(formatByteCount(c.bytes, c.style).toStdString(), c.expected);
    }
}
