// The settings file when it is not what it should be: a FIFO, a link to an
// endless device, a folder, a huge file, a link to a settings file kept
// elsewhere, a folder that does not exist yet. Nothing may block or fill
// memory, nothing is written through a link or over what is not a settings
// file, and reading alone creates nothing.
#include "Blocking.h"
#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

using namespace orbistat;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(SettingsFileHostile, WhatIsNoSettingsFileReadsAsDefaultsAndIsLeftAlone)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::function<bool(const fs::path&)> untouched;
    };
    const auto isFifo = [](const fs::path& p) { return fs::is_fifo(fs::symlink_status(p)); };
    const auto linksTo = [](const char* target) {
        return [target](const fs::path& p) { return fs::is_symlink(fs::symlink_status(p)) && fs::read_symlink(p) == target; };
    };
    const std::string huge(2 * 1024 * 1024, 'x');
    const Case cases[] = {
        {"FIFO", [](const fs::path& p) { test::makeFifo(p); }, isFifo},
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, linksTo("/dev/zero")},
        {"link to /dev/urandom", [](const fs::path& p) { fs::create_symlink("/dev/urandom", p); }, linksTo("/dev/urandom")},
        {"folder", [](const fs::path& p) { fs::create_directories(p / "inside"); }, [](const fs::path& p) { return fs::is_directory(p / "inside"); }},
        {"2 MiB file",
         [&huge](const fs::path& p) { std::ofstream(p) << "[General]\nupdateInterval=7\n" << huge; },
         [&huge](const fs::path& p) { return contentOf(p) == "[General]\nupdateInterval=7\n" + huge; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const fs::path path = dir.filePath(QStringLiteral("Orbistat.conf")).toStdString();
        c.make(path);
        std::unique_ptr<SettingsStore> store;
        double interval = 0;
        const bool finished = test::finishesWithin(std::chrono::seconds(3), {path}, [&] {
            store = std::make_unique<SettingsStore>(QString::fromStdString(path.string()));
            store->moveToThread(QCoreApplication::instance()->thread());
            interval = store->doubleValue(SettingsKey::updateInterval);
        });
        ASSERT_TRUE(finished);
        EXPECT_EQ(interval, 2.0);
        EXPECT_EQ(store->textValue(SettingsKey::menuBarEnabled), QStringLiteral("cpu,memory"));

        // The settings window still works for this run; the file is not
        // replaced, and nothing follows its link.
        QSignalSpy changed(store.get(), &SettingsStore::changed);
        const bool wrote = test::finishesWithin(std::chrono::seconds(3), {path}, [&] {
            store->setValue(SettingsKey::updateInterval, 5.0);
            store->remove(SettingsKey::menuBarEnabled);
        });
        ASSERT_TRUE(wrote);
        QCoreApplication::processEvents();  // written from another thread: announced through the event loop
        EXPECT_EQ(changed.count(), 2);
        EXPECT_EQ(store->doubleValue(SettingsKey::updateInterval), 5.0);
        EXPECT_EQ(store->textValue(SettingsKey::menuBarEnabled), QStringLiteral("cpu,memory"));
        EXPECT_TRUE(c.untouched(path));
    }
}

TEST(SettingsFileHostile, ALinkIsReadThroughButAWriteReplacesItWithAFileOfItsOwn)
{
    QTemporaryDir dir;
    const fs::path target = dir.filePath(QStringLiteral("dotfiles.conf")).toStdString();
    const fs::path path = dir.filePath(QStringLiteral("Orbistat.conf")).toStdString();
    std::ofstream(target) << "[General]\nupdateInterval=3\nmenuBarStyle=graph\n";
    fs::create_symlink(target, path);

    SettingsStore store(QString::fromStdString(path.string()));
    EXPECT_EQ(store.doubleValue(SettingsKey::updateInterval), 3.0);
    store.setValue(SettingsKey::updateInterval, 10.0);

    EXPECT_EQ(contentOf(target), "[General]\nupdateInterval=3\nmenuBarStyle=graph\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
    SettingsStore reader(QString::fromStdString(path.string()));
    EXPECT_EQ(reader.doubleValue(SettingsKey::updateInterval), 10.0);
    EXPECT_EQ(reader.currentMenuBarStyle(), MenuBarStyle::graph);  // the rest came along
}

TEST(SettingsFileHostile, ReadingCreatesNoFolderAndTheFirstWriteDoes)
{
    QTemporaryDir home;
    const fs::path folder = home.filePath(QStringLiteral("config/Orbistat")).toStdString();
    SettingsStore store(QString::fromStdString((folder / "Orbistat.conf").string()));
    EXPECT_EQ(store.doubleValue(SettingsKey::updateInterval), 2.0);
    EXPECT_TRUE(store.isCardVisible(PopoverCard::cpu));
    EXPECT_FALSE(fs::exists(folder.parent_path()));

    // A file made later by someone else is noticed.
    QSignalSpy changed(&store, &SettingsStore::changed);
    {
        SettingsStore window(QString::fromStdString((folder / "Orbistat.conf").string()));
        window.setValue(SettingsKey::updateInterval, 5.0);
    }
    EXPECT_TRUE(fs::exists(folder / "Orbistat.conf"));
    EXPECT_TRUE(changed.wait(3000));
    EXPECT_EQ(store.doubleValue(SettingsKey::updateInterval), 5.0);
}
