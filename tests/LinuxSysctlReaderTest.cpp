#include "platform/linux/LinuxSysctlReader.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(LinuxSysctlReader, IntelHybridLaptop)
{
    LinuxSysctlReader reader(LinuxRoot(test::fixture("intel-hybrid-laptop/t0")));
    EXPECT_EQ(reader.integer("hw.logicalcpu"), 12);
    EXPECT_EQ(reader.integer("hw.perflevel0.logicalcpu"), 4);
    EXPECT_EQ(reader.integer("hw.perflevel1.logicalcpu"), 8);
    EXPECT_EQ(reader.string("machdep.cpu.brand_string"), QString("12th Gen Intel(R) Core(TM) i5-1235U"));
    EXPECT_FALSE(reader.integer("hw.memsize"));
    EXPECT_FALSE(reader.string("kern.version"));
}

TEST(LinuxSysctlReader, ArmBoardWithTwoCoreCapacities)
{
    LinuxSysctlReader reader(LinuxRoot(test::fixture("arm-biglittle/t0")));
    EXPECT_EQ(reader.integer("hw.logicalcpu"), 8);
    EXPECT_EQ(reader.integer("hw.perflevel0.logicalcpu"), 4);  // the 1024 cores
    EXPECT_EQ(reader.integer("hw.perflevel1.logicalcpu"), 4);
    // The device-tree model ends in a NUL byte.
    EXPECT_EQ(reader.string("machdep.cpu.brand_string"), QString("Radxa ROCK 5B"));
}

TEST(LinuxSysctlReader, HostileAndMissingTreesGiveAbsentValues)
{
    for (const char* tree : {"hostile/t0", "does-not-exist"}) {
        SCOPED_TRACE(tree);
        LinuxSysctlReader reader(LinuxRoot(test::fixture(tree)));
        EXPECT_FALSE(reader.integer("hw.logicalcpu"));
        EXPECT_FALSE(reader.integer("hw.perflevel0.logicalcpu"));
        EXPECT_FALSE(reader.string("machdep.cpu.brand_string"));
    }
}

TEST(LinuxSysctlReader, ModelNameIsTheFirstNonEmptyOne)
{
    EXPECT_EQ(parseCpuInfoModelName("processor\t: 0\nmodel name\t:   Xeon  \nmodel name\t: Other\n"), QString("Xeon"));
    EXPECT_FALSE(parseCpuInfoModelName("model name\t:\nmodel\t: 154\n"));
}
