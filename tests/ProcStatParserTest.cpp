#include "platform/linux/LinuxCpuTicksSource.h"
#include "platform/linux/ProcStatParser.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(ProcStatParser, FoldsKernelColumnsIntoFourCounters)
{
    // user nice system idle iowait irq softirq steal guest guest_nice
    const auto ticks = parseProcStat("cpu  9 9 9 9\ncpu0 10 2 30 400 5 6 7 8 100 100\nintr 5\n");
    ASSERT_TRUE(ticks);
    ASSERT_EQ(ticks->size(), 1u);
    EXPECT_EQ((*ticks)[0], (CpuTicks{10, 30 + 6 + 7 + 8, 400 + 5, 2}));
}

TEST(ProcStatParser, OldKernelsWithFourColumnsAreRead)
{
    const auto ticks = parseProcStat("cpu0 1 2 3 4");
    ASSERT_TRUE(ticks);
    EXPECT_EQ((*ticks)[0], (CpuTicks{1, 3, 4, 2}));
}

TEST(ProcStatParser, OneBrokenProcessorLineMakesTheReadingAbsent)
{
    for (const char* text : {
             "cpu0 1 2 3 4\ncpu1 1 2 x 4\n",   // garbage
             "cpu0 1 2 3 4\ncpu1 1 2 3\n",     // truncated
             "cpu0 1 2 3 4\ncpu1 -1 2 3 4\n",  // negative
             "cpu0 1 2 3 4\ncpu1 99999999999999999999 2 3 4\n",
             "cpu  1 2 3 4\n",                 // aggregate only
             "",
         }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseProcStat(text));
    }
}

TEST(ProcStatParser, CountersAreTruncatedTo32Bits)
{
    const auto ticks = parseProcStat("cpu0 4294967297 0 0 0\n");
    ASSERT_TRUE(ticks);
    EXPECT_EQ((*ticks)[0].user, 1u);
}

TEST(LinuxCpuTicksSource, ReadsTheFixtureMachineAndFailsOnHostileTrees)
{
    LinuxRoot laptop(test::fixture("intel-hybrid-laptop/t0"));
    LinuxCpuTicksSource source(laptop);
    const auto ticks = source.read();
    ASSERT_TRUE(ticks);
    EXPECT_EQ(ticks->size(), 12u);
    EXPECT_EQ((*ticks)[0], (CpuTicks{123456, 45678 + 2100 + 1500, 987654 + 3456, 500}));

    for (const char* tree : {"hostile/t0", "hostile/t1", "does-not-exist"}) {
        SCOPED_TRACE(tree);
        LinuxRoot root(test::fixture(tree));
        LinuxCpuTicksSource hostile(root);
        EXPECT_FALSE(hostile.read());
    }
}
