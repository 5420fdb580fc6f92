// The snapshot store laid out by someone else: links where its folders and
// files belong, a FIFO in a file's place, leftovers of a killed writer.
// Nothing outside the store may be written or re-moded, and nothing may
// block.
#include "Blocking.h"
#include "doubles/WidgetStoreEnvironment.h"
#include "shared/SharedStatsStore.h"
#include "shared/bridge/WidgetBridge.h"
#include "core/SettingsStore.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace orbistat;
namespace fs = std::filesystem;

namespace {

SharedStats snapshot()
{
    SharedStats stats;
    stats.cpu = 0.25;
    stats.warning = 0.75;
    stats.critical = 0.9;
    stats.updated = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    return stats;
}

std::string contentOf(const fs::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

unsigned modeOf(const fs::path& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0xFFFF;
}

struct Layout {
    test::WidgetStoreEnvironment store{"group.layout"};
    QTemporaryDir elsewhere;
    fs::path runtime = store.runtime.path().toStdString();
    fs::path orbistat = runtime / "orbistat";
    fs::path group = orbistat / "group.layout";
    fs::path outside = elsewhere.path().toStdString();

    // A file of someone else's, with its own mode, that links may point at.
    fs::path victim() const
    {
        const auto path = outside / "victim";
        if (!fs::exists(path)) {
            std::ofstream(path) << "precious";
            fs::permissions(path, fs::perms(0644), fs::perm_options::replace);
        }
        return path;
    }
    void makeStoreFolders() const
    {
        fs::create_directories(group);
        fs::permissions(orbistat, fs::perms::owner_all, fs::perm_options::replace);
        fs::permissions(group, fs::perms::owner_all, fs::perm_options::replace);
    }
};

} // namespace

TEST(SharedStatsStoreLayout, LinksInPlaceOfTheFilesAreReplacedNeverWrittenThrough)
{
    for (const char* name : {"sharedStats", "reload"}) {
        SCOPED_TRACE(name);
        Layout layout;
        layout.makeStoreFolders();
        fs::create_symlink(layout.victim(), layout.group / name);
        ASSERT_TRUE(saveSharedStats(snapshot()));
        ASSERT_TRUE(requestWidgetReload());
        EXPECT_EQ(contentOf(layout.victim()), "precious");
        EXPECT_EQ(modeOf(layout.victim()), 0644u);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(layout.group / name)));
        EXPECT_EQ(modeOf(layout.group / name), 0600u);
        EXPECT_EQ(loadSharedStats(), snapshot());
    }
}

TEST(SharedStatsStoreLayout, LinksInPlaceOfTheFoldersAreRefused)
{
    struct Case {
        const char* name;
        std::function<void(const Layout&)> plant;
        fs::path (*linked)(const Layout&);
    };
    const Case cases[] = {
        {"store folder links elsewhere",
         [](const Layout& l) { fs::create_symlink(l.outside, l.orbistat); }, [](const Layout& l) { return l.outside; }},
        {"group folder links elsewhere",
         [](const Layout& l) {
             fs::create_directories(l.orbistat);
             fs::permissions(l.orbistat, fs::perms::owner_all, fs::perm_options::replace);
             fs::create_symlink(l.outside, l.group);
         },
         [](const Layout& l) { return l.outside; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        fs::permissions(layout.outside, fs::perms(0755), fs::perm_options::replace);
        layout.victim();
        c.plant(layout);
        EXPECT_FALSE(saveSharedStats(snapshot()));
        EXPECT_FALSE(requestWidgetReload());
        EXPECT_FALSE(loadSharedStats());
        const auto target = c.linked(layout);
        EXPECT_EQ(modeOf(target), 0755u) << "the folder a link points at keeps its mode";
        EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 1) << "nothing is written into it";
        EXPECT_EQ(contentOf(layout.victim()), "precious");
    }
}

TEST(SharedStatsStoreLayout, AFolderOfAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can hand a folder to another user";
    Layout layout;
    layout.makeStoreFolders();
    ASSERT_EQ(::chown(layout.group.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(saveSharedStats(snapshot()));
    EXPECT_FALSE(fs::exists(layout.group / "sharedStats"));
}

TEST(SharedStatsStoreLayout, TheWriterMakesFoldersOpenToOthersPrivate)
{
    Layout layout;
    fs::create_directories(layout.group);
    fs::permissions(layout.orbistat, fs::perms(0777), fs::perm_options::replace);
    fs::permissions(layout.group, fs::perms(0755), fs::perm_options::replace);
    // The widget program only reads: it changes nothing.
    EXPECT_FALSE(loadSharedStats());
    EXPECT_EQ(modeOf(layout.group), 0755u);
    ASSERT_TRUE(saveSharedStats(snapshot()));
    EXPECT_EQ(modeOf(layout.orbistat), 0700u);
    EXPECT_EQ(modeOf(layout.group), 0700u);
}

TEST(SharedStatsStoreLayout, ASnapshotThatIsNoRegularFileReadsAsNothingAtOnce)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    const Case cases[] = {
        {"FIFO", [](const fs::path& p) { test::makeFifo(p); }},
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"folder", [](const fs::path& p) { fs::create_directories(p / "inside"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        layout.makeStoreFolders();
        c.make(layout.group / "sharedStats");
        std::optional<SharedStats> loaded = snapshot();
        EXPECT_TRUE(test::finishesWithin(std::chrono::seconds(2), {layout.group / "sharedStats"}, [&] { loaded = loadSharedStats(); }));
        EXPECT_FALSE(loaded);
    }
}

TEST(SharedStatsStoreLayout, StartingTheBridgeRemovesWhatAKilledWriterLeftBehind)
{
    Layout layout;
    layout.makeStoreFolders();
    ASSERT_TRUE(saveSharedStats(snapshot()));
    for (const char* leftover : {"sharedStats.a1B2c3", "reload.XyZ789"})
        std::ofstream(layout.group / leftover) << "{\"cpu\":";
    // Not temporary files of the store: kept.
    for (const char* kept : {"sharedStats.old", "sharedStats.a1B2c3d", "notes.txt"})
        std::ofstream(layout.group / kept) << "mine";
    fs::create_directory(layout.group / "reload.Folder");

    QTemporaryDir config;
    SettingsStore settings(config.filePath(QStringLiteral("Orbistat.conf")));
    WidgetBridge bridge(settings);

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(layout.group))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"sharedStats", "sharedStats.old", "sharedStats.a1B2c3d", "notes.txt", "reload.Folder"}));
    EXPECT_EQ(loadSharedStats(), snapshot());
}
