// The built programs on hostile machines and hostile files of their own:
// FIFOs where the kernel's files belong, a settings file that is a FIFO or
// a link to an endless device, a snapshot that is a FIFO. Each run must end
// in time with its output; a run that hangs is killed and fails.
#include "Blocking.h"
#include "TestPaths.h"
#include "TreeReplay.h"
#include "doubles/WidgetStoreEnvironment.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace orbistat;
namespace fs = std::filesystem;

namespace {

struct Run {
    bool finished = false;
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

// A program stuck on a FIFO would never end: past the limit it is killed.
Run run(const char* program, const QStringList& arguments, const QProcessEnvironment& environment, int limitMs = 20000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromLocal8Bit(program), arguments);
    Run result;
    result.finished = process.waitForFinished(limitMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

struct Environment {
    QTemporaryDir config;
    QTemporaryDir runtime;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();

    explicit Environment(const QString& sysroot)
    {
        variables.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        variables.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        variables.insert(QStringLiteral("ORBISTAT_SYSROOT"), sysroot);
        variables.insert(QStringLiteral("ORBISTAT_APP_GROUPS"), QStringLiteral("group.hostiletest"));
        // No session bus: alerts are off and the notifier has nobody to ask.
        variables.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    }
    fs::path settingsFile() const { return fs::path(config.path().toStdString()) / "Orbistat" / "Orbistat.conf"; }
};

const QStringList twoJsonTicks{QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--interval"),
                               QStringLiteral("0.5")};

} // namespace

TEST(HostileProgram, FifosWhereKernelFilesBelongNeitherHangNorSilenceTheProgram)
{
    struct Case {
        const char* machine;
        std::vector<const char*> fifos;
    };
    const Case cases[] = {
        // Read by the clock before the first line.
        {"intel-hybrid-laptop/t0", {"proc/uptime"}},
        {"intel-hybrid-laptop/t0", {"proc/stat", "proc/meminfo", "proc/net/dev", "proc/diskstats"}},
        // Read by the accessories worker: the program must still exit.
        {"hid-accessories/t0", {"sys/class/power_supply/hidpp_battery_0/capacity", "sys/class/power_supply/hidpp_battery_0/model_name"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.machine + std::string(" ") + c.fifos.front());
        QTemporaryDir dir;
        const auto tree = test::copyOfTree(dir, c.machine);
        for (const char* fifo : c.fifos)
            test::makeFifo(tree / fifo);
        Environment environment(QString::fromStdString(tree.string()));
        const auto result = run(test::orbistatBinary(), twoJsonTicks, environment.variables);
        EXPECT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0);
        ASSERT_EQ(result.lines.size(), 2);
        for (const auto& line : result.lines)
            EXPECT_TRUE(QJsonDocument::fromJson(line.toUtf8()).isObject()) << line.toStdString();
    }
}

TEST(HostileProgram, ASettingsFileThatIsNoFileIsIgnoredOnceAndTheDefaultsApply)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    const Case cases[] = {
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"link to /dev/urandom", [](const fs::path& p) { fs::create_symlink("/dev/urandom", p); }},
        {"FIFO", [](const fs::path& p) { test::makeFifo(p); }},
        {"folder", [](const fs::path& p) { fs::create_directories(p / "inside"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Environment environment(QString::fromStdString(test::fixture("intel-hybrid-laptop/t0")));
        fs::create_directories(environment.settingsFile().parent_path());
        c.make(environment.settingsFile());
        const auto result = run(test::orbistatBinary(), {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("1")},
                                environment.variables);
        EXPECT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0);
        ASSERT_EQ(result.lines.size(), 1);
        EXPECT_EQ(result.errors.count(QStringLiteral("ignoring the settings file")), 1) << result.errors.toStdString();
        // The registered default interval holds.
        EXPECT_EQ(QJsonDocument::fromJson(result.lines[0].toUtf8()).object().value(QStringLiteral("interval")).toDouble(), 2.0);
    }
}

TEST(HostileProgram, TheFirstJsonLineShowsTheIntervalOfTheCommandLine)
{
    Environment environment(QString::fromStdString(test::fixture("intel-hybrid-laptop/t0")));
    fs::create_directories(environment.settingsFile().parent_path());
    std::ofstream(environment.settingsFile()) << "[General]\nupdateInterval=5\n";
    const auto result = run(test::orbistatBinary(),
                            {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--interval"),
                             QStringLiteral("0.75")},
                            environment.variables);
    ASSERT_EQ(result.lines.size(), 2);
    for (const auto& line : result.lines)
        EXPECT_EQ(QJsonDocument::fromJson(line.toUtf8()).object().value(QStringLiteral("interval")).toDouble(), 0.75) << line.toStdString();
}

TEST(HostileProgram, ARunThatOnlyReadsSettingsCreatesNoSettingsFolder)
{
    Environment environment(QString::fromStdString(test::fixture("intel-hybrid-laptop/t0")));
    const auto result = run(test::orbistatBinary(), twoJsonTicks, environment.variables);
    ASSERT_EQ(result.lines.size(), 2);
    EXPECT_FALSE(fs::exists(environment.settingsFile().parent_path()));
}

TEST(HostileProgram, TheWidgetProgramDoesNotBlockOnASnapshotThatIsAFifo)
{
    test::WidgetStoreEnvironment store("group.hostiletest");
    const fs::path folder = store.runtime.filePath(QStringLiteral("orbistat/group.hostiletest")).toStdString();
    fs::create_directories(folder);
    fs::permissions(folder.parent_path(), fs::perms::owner_all, fs::perm_options::replace);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
    test::makeFifo(folder / "sharedStats");
    QTemporaryDir out;
    auto environment = QProcessEnvironment::systemEnvironment();
    const auto result = run(test::orbistatWidgetBinary(),
                            {QStringLiteral("--render"), out.filePath(QStringLiteral("w.png")), QStringLiteral("--kind"), QStringLiteral("stats")},
                            environment);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(QFile::exists(out.filePath(QStringLiteral("w.png"))));
}
