#include "doubles/FakeNotificationServer.h"
#include "doubles/PrivateBus.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace orbistat::test;

namespace {

// Runs the built program with its own settings, runtime folder and session
// bus, while this process serves the bus: on a recorded tree unless
// `sysroot` is empty (then on this machine). `groups` sets
// ORBISTAT_APP_GROUPS when given.
QStringList runOrbistat(const QTemporaryDir& config, const PrivateBus& bus, const QStringList& arguments,
                        const std::string& sysroot = fixture("intel-hybrid-laptop/t0"), std::optional<QString> groups = std::nullopt)
{
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), config.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    environment.remove(QStringLiteral("ORBISTAT_SYSROOT"));
    environment.remove(QStringLiteral("ORBISTAT_APP_GROUPS"));
    if (!sysroot.empty())
        environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(sysroot));
    if (groups)
        environment.insert(QStringLiteral("ORBISTAT_APP_GROUPS"), *groups);
    QDir(config.path()).mkpath(QStringLiteral("runtime"));
    process.setProcessEnvironment(environment);
    process.start(QString::fromLatin1(orbistatBinary()), arguments);
    // Not waitForFinished: the fake server in this process has to answer
    // the program's calls meanwhile.
    EXPECT_TRUE(waitUntil([&] { return process.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(process.exitCode(), 0);
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void writeSettings(const QTemporaryDir& config, const QByteArray& ini)
{
    QDir(config.path()).mkpath(QStringLiteral("Orbistat"));
    QFile file(config.filePath(QStringLiteral("Orbistat/Orbistat.conf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\n" + ini);
}

} // namespace

TEST(HeadlessRun, PrintWritesTheAccessibilityLineAndPostsAlertsLikeTheTrayProgram)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeNotificationServer server;
    ASSERT_TRUE(server.registerOn(bus.connect(QStringLiteral("server"))));
    QTemporaryDir config;
    // A threshold of 0 makes any load "high": the alert is due at once.
    writeSettings(config, "alertsEnabled=true\nalertDuration=0\ncriticalThreshold=0\nwarningThreshold=0\n");

    // This machine, one tick: the post is made at the last tick, right
    // before the exit.
    const auto lines = runOrbistat(config, bus, {QStringLiteral("--print"), QStringLiteral("--count"), QStringLiteral("1")}, {});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^CPU \\d+%, RAM \\d+%")).match(lines[0]).hasMatch()) << lines[0].toStdString();

    // Delivered although the run ended right after the post.
    ASSERT_EQ(server.calls.size(), 1u);
    EXPECT_EQ(server.calls[0].summary, "High CPU usage");
    EXPECT_EQ(server.calls[0].appName, "Orbistat");
}

TEST(HeadlessRun, ARecordedTreeStaysOffThisDesktop)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeNotificationServer server;
    ASSERT_TRUE(server.registerOn(bus.connect(QStringLiteral("server"))));
    QTemporaryDir config;
    writeSettings(config, "alertsEnabled=true\nalertDuration=0\ncriticalThreshold=0\nwarningThreshold=0\n");

    // Another machine's readings: its alert is evaluated and listed in the
    // JSON, but no notification pops up and the desktop's widgets are not
    // fed another machine's snapshot.
    const auto lines = runOrbistat(config, bus, {QStringLiteral("--json"), QStringLiteral("--count"), QStringLiteral("2")});
    ASSERT_EQ(lines.size(), 2);
    const auto first = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    const auto alerts = first.value(QStringLiteral("alerts")).toArray();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].toObject().value(QStringLiteral("identifier")).toString(), QStringLiteral("orbistat.cpu"));
    EXPECT_EQ(alerts[0].toObject().value(QStringLiteral("title")).toString(), QStringLiteral("High CPU usage"));
    // The cooldown holds the second tick's alert back, as on the desktop.
    EXPECT_EQ(QJsonDocument::fromJson(lines[1].toUtf8()).object().value(QStringLiteral("alerts")).toArray().size(), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(server.calls.empty());
    EXPECT_FALSE(QDir(config.filePath(QStringLiteral("runtime/orbistat"))).exists());

    // A group named for the replay receives it.
    runOrbistat(config, bus, {QStringLiteral("--print"), QStringLiteral("--count"), QStringLiteral("1")}, fixture("intel-hybrid-laptop/t0"),
                QStringLiteral("group.replay"));
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("runtime/orbistat/group.replay/sharedStats"))));
    EXPECT_FALSE(QDir(config.filePath(QStringLiteral("runtime/orbistat/group.orbistat"))).exists());
}

TEST(HeadlessRun, PrintFollowsTheEnabledModulesAndStaysQuietWithAlertsOff)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeNotificationServer server;
    ASSERT_TRUE(server.registerOn(bus.connect(QStringLiteral("server"))));
    QTemporaryDir config;
    writeSettings(config, "menuBarEnabled=\"gpu,cpu,disk\"\ncriticalThreshold=0\n");
    const auto lines = runOrbistat(config, bus, {QStringLiteral("--print"), QStringLiteral("--count"), QStringLiteral("1")});
    ASSERT_EQ(lines.size(), 1);
    // The recorded tree has no GPU value and the tree's disk size is that of
    // its folder, so CPU comes first and only CPU and DISK may appear.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^CPU \\d+%(, DISK \\d+%)?$")).match(lines[0]).hasMatch()) << lines[0].toStdString();
    QCoreApplication::processEvents();
    EXPECT_TRUE(server.calls.empty());
}
