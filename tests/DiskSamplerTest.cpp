#include "doubles/FakeClock.h"
#include "doubles/FakeDiskSources.h"
#include "platform/linux/DiskStatsParser.h"
#include "platform/linux/LinuxDiskTotalsSource.h"
#include "platform/linux/LinuxVolumeCapacitySource.h"
#include "platform/linux/MountInfoParser.h"
#include "samplers/DiskSampler.h"
#include "TreeReplay.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;

namespace {

constexpr uint64_t MiB = 1 << 20;

struct DiskSamplerTest : ::testing::Test {
    test::FakeVolumeCapacitySource capacity;
    test::FakeDiskTotalsSource totals;
    FakeClock clock;
    DiskSampler sampler{capacity, totals, clock};

    DiskSample sampleAfter(double seconds, std::optional<DiskTotals> next)
    {
        totals.readings.push_back(next);
        clock.advance(seconds);
        return sampler.sample();
    }
};

// Replaces the tree's diskstats by a recorded one, with `extra` lines added
// and the NVMe disk's written sectors grown by `nvmeWritten`.
void writeDiskStats(const std::filesystem::path& tree, const std::string& snapshot, const std::string& extra, uint64_t nvmeWritten = 0)
{
    std::ifstream in(test::fixture(snapshot + "/proc/diskstats"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (nvmeWritten != 0) {
        const std::string from = " 5432000 ";
        const auto at = text.find(from);
        if (at != std::string::npos)
            text.replace(at, from.size(), " " + std::to_string(5432000 + nvmeWritten) + " ");
    }
    std::filesystem::remove(tree / "proc/diskstats");
    std::ofstream(tree / "proc/diskstats") << text << extra;
}

} // namespace

TEST_F(DiskSamplerTest, FirstCallHasCapacityThenRatesOverElapsedTime)
{
    capacity.capacity = VolumeCapacity{1000 * MiB, 400 * MiB};
    EXPECT_EQ(sampleAfter(0, DiskTotals{50 * MiB, 20 * MiB}), (DiskSample{1000 * MiB, 400 * MiB, std::nullopt, std::nullopt}));
    // 10 MiB read and 1 MiB written in one second.
    EXPECT_EQ(sampleAfter(1, DiskTotals{60 * MiB, 21 * MiB}), (DiskSample{1000 * MiB, 400 * MiB, 10.0 * MiB, 1.0 * MiB}));
}

TEST_F(DiskSamplerTest, CapacityThatCannotBeReadIsZero)
{
    const struct {
        const char* name;
        std::optional<VolumeCapacity> capacity;
        uint64_t total, available;
    } cases[] = {
        {"request failed", std::nullopt, 0, 0},
        {"values missing", VolumeCapacity{}, 0, 0},
        {"negative available", VolumeCapacity{500, -20}, 500, 0},
        {"available beyond total", VolumeCapacity{500, 900}, 500, 900},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        capacity.capacity = c.capacity;
        const auto sample = sampleAfter(1, std::nullopt);
        EXPECT_EQ(sample.total, c.total);
        EXPECT_EQ(sample.available, c.available);
        EXPECT_FALSE(sample.readRate);
        EXPECT_FALSE(sample.writeRate);
    }
}

TEST_F(DiskSamplerTest, ShrinkingTotalsFailuresAndStandingTime)
{
    sampleAfter(0, DiskTotals{100 * MiB, 100 * MiB});
    // A detached disk takes its bytes with it: 0 for that direction, never
    // a wrapped or negative rate, and the lower sum is the new base.
    auto sample = sampleAfter(2, DiskTotals{40 * MiB, 104 * MiB});
    EXPECT_EQ(sample.readRate, 0.0);
    EXPECT_EQ(sample.writeRate, 2.0 * MiB);
    EXPECT_EQ(sampleAfter(1, DiskTotals{41 * MiB, 104 * MiB}).readRate, 1.0 * MiB);

    // No totals: no rates, and the base stays for the whole gap.
    EXPECT_FALSE(sampleAfter(1, std::nullopt).readRate);
    EXPECT_EQ(sampleAfter(1, DiskTotals{45 * MiB, 104 * MiB}).readRate, 2.0 * MiB);

    // Time standing still or stepping back: no rates, base replaced.
    sample = sampleAfter(0, DiskTotals{90 * MiB, 104 * MiB});
    EXPECT_FALSE(sample.readRate);
    EXPECT_FALSE(sample.writeRate);
    EXPECT_FALSE(sampleAfter(-3, DiskTotals{95 * MiB, 104 * MiB}).readRate);
    EXPECT_EQ(sampleAfter(1, DiskTotals{96 * MiB, 104 * MiB}).readRate, 1.0 * MiB);

    // A clock step too small to divide by: no rates rather than infinity.
    clock.seconds = 0;
    sampleAfter(0, DiskTotals{0, 0});
    sample = sampleAfter(4.9e-324, DiskTotals{UINT64_MAX, 1});
    EXPECT_FALSE(sample.readRate);
    EXPECT_FALSE(sample.writeRate);
}

TEST(DiskStatsParser, SectorColumnsAndDamagedLines)
{
    const auto lines = parseDiskStats(" 259       0 nvme0n1 51234 1203 9876000 23411 88123 40211 5432000 91233 0 60123 114644\n"
                                      "   8 0 sda 1 2\n"
                                      "   8 16 sdb 100 0 abc 0 0 0 12 0 0 0 0\n"
                                      "   8 32 sdc 4 0 8 0 4 0 -1 0\n"
                                      " 252 0 vda 1 2 3 4 5 6 7");  // a 10-field line, no newline
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].name, "nvme0n1");
    EXPECT_EQ(lines[0].sectorsRead, 9876000u);
    EXPECT_EQ(lines[0].sectorsWritten, 5432000u);
    EXPECT_EQ(lines[1].name, "vda");
    EXPECT_EQ(lines[1].sectorsRead, 3u);
    EXPECT_EQ(lines[1].sectorsWritten, 7u);
}

TEST(LinuxDiskTotalsSource, SumsWholePhysicalDisksOnly)
{
    const struct {
        const char* tree;
        uint64_t readSectors, writtenSectors;
    } cases[] = {
        // nvme0n1 alone: not its partitions, dm-0, loop0 or zram0.
        {"laptop-wifi-zram-nvme/t0", 9876000, 5432000},
        // nvme0n1 + sda + sr0; md0, dm-0 and loops have no device entry.
        {"desktop-ethernet-amdgpu/t0", 123456000 + 55500000, 98765000 + 44400000},
        // Too few fields, garbage, a count beyond 64 bits in bytes and a
        // repeated line leave one nvme0n1 line.
        {"hostile-io/t0", 1000, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tree);
        FakeClock clock;
        LinuxDiskTotalsSource source(LinuxRoot(test::fixture(c.tree), true), clock);
        EXPECT_EQ(source.read(), (DiskTotals{c.readSectors * 512, c.writtenSectors * 512}));
    }
}

TEST(LinuxDiskTotalsSource, NoDiskAnsweringIsAbsentAndDisksAreFoundAgain)
{
    FakeClock clock;
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "vm/t0");
    LinuxDiskTotalsSource source(LinuxRoot(tree, true), clock);
    const auto before = source.read();
    ASSERT_TRUE(before);

    test::makeUnreadable(tree / "proc/diskstats");
    EXPECT_FALSE(source.read());

    // A disk that appears is found at once; its first reading is its
    // baseline, so only what it reads afterwards counts.
    std::filesystem::remove(tree / "proc/diskstats");
    std::filesystem::copy_file(test::fixture("vm/t0/proc/diskstats"), tree / "proc/diskstats");
    {
        std::ofstream(tree / "proc/diskstats", std::ios::app) << "   8 0 sda 1 0 4000 0 1 0 2000 0 0 0 0\n";
    }
    std::filesystem::create_directories(tree / "sys/block/sda/device");
    EXPECT_EQ(source.read(), before);
    writeDiskStats(tree, "vm/t0", "   8 0 sda 1 0 4100 0 1 0 2050 0 0 0 0\n");
    EXPECT_EQ(source.read(), (DiskTotals{before->readBytes + 100 * 512, before->writeBytes + 50 * 512}));

    // No physical disk at all: absent.
    std::filesystem::remove_all(tree / "sys/block");
    clock.advance(31);
    EXPECT_FALSE(source.read());
}

TEST(DiskSampler, HotPluggedDiskCountsFromItsSecondReadingAndLeavesWithoutANegativeRate)
{
    // Through the sampler, over a copy of the laptop's tree: 2 GB already
    // read by a USB disk plugged in between two ticks must not show as
    // 1 GB/s for one tick; a disk taken out must not show a negative rate.
    FakeClock clock;
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "laptop-wifi-zram-nvme/t0");
    const LinuxRoot root(tree, true);
    LinuxVolumeCapacitySource capacity(root);
    LinuxDiskTotalsSource totals(root, clock);
    DiskSampler sampler(capacity, totals, clock);
    sampler.sample();

    const std::string usb = "   8      16 sdb 9000 0 4194304 100 10 0 80 10 0 100 110 0 0 0 0\n";
    std::filesystem::create_directories(tree / "sys/block/sdb/device");
    writeDiskStats(tree, "laptop-wifi-zram-nvme/t0", usb);
    clock.advance(2);
    auto sample = sampler.sample();
    EXPECT_EQ(sample.readRate, 0.0);
    EXPECT_EQ(sample.writeRate, 0.0);

    // It reads 1 MiB in the next two seconds.
    writeDiskStats(tree, "laptop-wifi-zram-nvme/t0", "   8      16 sdb 9100 0 4196352 100 10 0 80 10 0 100 110 0 0 0 0\n");
    clock.advance(2);
    sample = sampler.sample();
    EXPECT_EQ(sample.readRate, 512.0 * 1024.0);
    EXPECT_EQ(sample.writeRate, 0.0);

    // Unplugged (its lines and its sysfs entry gone) while the NVMe disk
    // writes 1000 sectors: the rate is the NVMe disk's, never below 0.
    std::filesystem::remove_all(tree / "sys/block/sdb");
    writeDiskStats(tree, "laptop-wifi-zram-nvme/t0", "", 1000);
    clock.advance(2);
    sample = sampler.sample();
    EXPECT_EQ(sample.readRate, 0.0);
    EXPECT_EQ(sample.writeRate, 1000.0 * 512.0 / 2.0);
}

TEST(LinuxVolumeCapacitySource, TheVolumeHoldingTheRoot)
{
    QTemporaryDir dir;
    LinuxVolumeCapacitySource source(LinuxRoot(dir.path().toStdString(), true));
    const auto capacity = source.read();
    ASSERT_TRUE(capacity);
    ASSERT_TRUE(capacity->totalBytes && capacity->availableBytes);
    EXPECT_GT(*capacity->totalBytes, 0u);
    EXPECT_GE(*capacity->availableBytes, 0);
    EXPECT_LE(static_cast<uint64_t>(*capacity->availableBytes), *capacity->totalBytes);

    EXPECT_FALSE(LinuxVolumeCapacitySource(LinuxRoot(dir.filePath(QStringLiteral("missing")).toStdString(), true)).read());
}

TEST(LinuxVolumeCapacitySource, AReadOnlyRootIsMeasuredAtVar)
{
    // statvfs as an image-based system answers it: "/" a 6 MB read-only
    // image with nothing free, /var the disk holding the user's data.
    std::vector<std::string> asked;
    bool rootIsReadOnly = true;
    const auto statFilesystem = [&](const char* path, struct statvfs* info) {
        asked.emplace_back(path);
        *info = {};
        info->f_frsize = 4096;
        if (std::string_view(path).ends_with("/var")) {
            info->f_blocks = 250'000'000;  // 1 TB
            info->f_bavail = 100'000'000;
        } else {
            info->f_blocks = 1536;  // 6 MB
            info->f_flag = rootIsReadOnly ? ST_RDONLY : 0;
        }
        return 0;
    };
    const auto read = [&](const LinuxRoot& root) {
        asked.clear();
        return LinuxVolumeCapacitySource(root, statFilesystem).read().value_or(VolumeCapacity{});
    };
    const uint64_t terabyte = 250'000'000ull * 4096;

    // A recorded tree: the flags come from its mountinfo ("/" is composefs,
    // read-only), not from the host.
    const LinuxRoot immutable(test::fixture("immutable-desktop/t0"), true);
    rootIsReadOnly = false;
    auto capacity = read(immutable);
    EXPECT_EQ(capacity.totalBytes, terabyte);
    EXPECT_EQ(capacity.availableBytes, 100'000'000ll * 4096);
    EXPECT_EQ(asked.back(), test::fixture("immutable-desktop/t0") + "/var");

    // A tree whose "/" is writable, or that has no mount table, keeps "/".
    for (const char* tree : {"laptop-wifi-zram-nvme/t0", "vm/t0"}) {
        SCOPED_TRACE(tree);
        rootIsReadOnly = true;
        EXPECT_EQ(read(LinuxRoot(test::fixture(tree), true)).totalBytes, 1536u * 4096);
    }

    // The running machine: statvfs's own flag decides.
    QTemporaryDir dir;
    const LinuxRoot running(dir.path().toStdString(), false);
    rootIsReadOnly = true;
    EXPECT_EQ(read(running).totalBytes, terabyte);
    rootIsReadOnly = false;
    EXPECT_EQ(read(running).totalBytes, 1536u * 4096);
    EXPECT_EQ(asked.size(), 1u);
}

TEST(MountInfoParser, RootReadOnlyFromTheLastMountOfRoot)
{
    const struct {
        const char* what;
        const char* text;
        std::optional<bool> readOnly;
    } cases[] = {
        {"per-mount ro", "22 1 0:20 / / ro,relatime shared:1 - overlay composefs ro\n", true},
        {"rw root", "28 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n", false},
        {"the filesystem itself read-only", "28 1 8:2 / / rw,relatime - squashfs /dev/sda2 ro\n", true},
        {"the last mount of / hides the others", "1 0 8:1 / / ro - ext4 /dev/sda1 ro\n2 1 0:30 / / rw - tmpfs tmpfs rw\n", false},
        {"other mount points only", "31 22 0:27 / /var rw,relatime - btrfs /dev/sda3 rw\n", std::nullopt},
        {"an escaped mount point is not /", "40 22 0:35 / /\\040 ro - vfat /dev/sda1 ro\n", std::nullopt},
        {"no separator", "22 1 0:20 / / ro,relatime shared:1 overlay composefs ro\n", std::nullopt},
        {"truncated", "22 1 0:20 / / ro", std::nullopt},
        {"rofs is not ro", "22 1 0:20 / / rofs,relatime - ext4 /dev/sda1 rw\n", false},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(isRootReadOnly(c.text), c.readOnly);
    }
}
