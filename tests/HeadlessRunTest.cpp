#include "doubles/FakeNotificationServer.h"
#include "doubles/PrivateBus.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat::test;

namespace {

// Runs the built program on a recorded tree with its own settings and
// session bus, while this process serves the bus.
QStringList runOrbistat(const QTemporaryDir& config, const PrivateBus& bus, const QStringList& arguments)
{
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    environment.insert(QStringLiteral("ORBISTAT_SYSROOT"), QString::fromStdString(fixture("intel-hybrid-laptop/t0")));
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

    // One tick: the post is made at the last tick, right before the exit.
    const auto lines = runOrbistat(config, bus, {QStringLiteral("--print"), QStringLiteral("--count"), QStringLiteral("1")});
    ASSERT_EQ(lines.size(), 1);
    const QRegularExpression line(QStringLiteral("^CPU \\d+%, RAM \\d+%$"));
    for (const auto& text : lines)
        EXPECT_TRUE(line.match(text).hasMatch()) << text.toStdString();

    // Delivered although the run ended right after the post.
    ASSERT_EQ(server.calls.size(), 1u);
    EXPECT_EQ(server.calls[0].summary, "High CPU usage");
    EXPECT_EQ(server.calls[0].appName, "Orbistat");
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
