// No read of a kernel file may wait: a FIFO without a writer, a device that
// never ends or a folder where an attribute belongs reads as absent at once,
// through every way the adapters read, on recorded trees and on a running
// machine's root alike.
#include "Blocking.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace orbistat;
namespace fs = std::filesystem;

TEST(BlockingReads, WhatIsNoRegularFileReadsAsAbsentAtOnce)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    const Case cases[] = {
        {"FIFO", [](const fs::path& p) { test::makeFifo(p); }},
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"link to /dev/urandom", [](const fs::path& p) { fs::create_symlink("/dev/urandom", p); }},
        {"folder", [](const fs::path& p) { fs::create_directories(p / "inside"); }},
    };
    for (const bool recorded : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (recorded ? ", recorded tree" : ", running machine"));
            QTemporaryDir dir;
            const fs::path base = dir.path().toStdString();
            std::ofstream(base / "ok") << "42\n";
            c.make(base / "attribute");
            const LinuxRoot root(base, recorded);
            HotFile hot(root, "attribute");
            bool anyRead = true;
            EXPECT_TRUE(test::finishesWithin(std::chrono::seconds(2), {base / "attribute"}, [&] {
                anyRead = root.readBytes("attribute").has_value() || root.readText("attribute").has_value()
                    || root.readUnsigned("attribute").has_value() || root.readSigned("attribute").has_value() || hot.read().has_value();
            }));
            EXPECT_FALSE(anyRead);
            EXPECT_EQ(root.readUnsigned("ok"), uint64_t{42});
        }
    }
}

TEST(BlockingReads, AFileKeptOpenIsReadAgainFromTheStartAndAFifoInItsPlaceLaterIsRefused)
{
    QTemporaryDir dir;
    const fs::path base = dir.path().toStdString();
    std::ofstream(base / "stat") << "cpu0 1 2 3 4\n";
    const LinuxRoot root(base, false);
    HotFile hot(root, "stat");
    ASSERT_EQ(hot.read(), std::string_view("cpu0 1 2 3 4\n"));
    std::ofstream(base / "stat", std::ios::trunc) << "cpu0 5 6 7 8\n";  // in place, as procfs regenerates
    EXPECT_EQ(hot.read(), std::string_view("cpu0 5 6 7 8\n"));

    // The file is replaced by a FIFO: the descriptor kept open still reads
    // the old file, and a fresh open refuses the FIFO instead of waiting.
    test::makeFifo(base / "stat");
    EXPECT_EQ(hot.read(), std::string_view("cpu0 5 6 7 8\n"));
    HotFile fresh(root, "stat");
    std::optional<std::string_view> read = std::string_view("unset");
    EXPECT_TRUE(test::finishesWithin(std::chrono::seconds(2), {base / "stat"}, [&] { read = fresh.read(); }));
    EXPECT_FALSE(read);
}
