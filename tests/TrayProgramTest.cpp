// The tray program as a user runs it: the real binary on a private X server
// with a private session bus, a test watcher standing in for the panel.
#include "TestPaths.h"
#include "WaitUntil.h"
#include "doubles/FakeStatusNotifierWatcher.h"
#include "doubles/PrivateBus.h"
#include "doubles/XvfbDisplay.h"

#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat::test;

namespace {

struct TrayProgramTest : ::testing::Test {
    XvfbDisplay display;
    PrivateBus bus;
    QDBusConnection panel = bus.connect(QStringLiteral("panel"));
    std::optional<FakeStatusNotifierWatcher> watcher;
    QTemporaryDir home;
    std::vector<std::unique_ptr<QProcess>> programs;

    void SetUp() override
    {
        if (!display.isRunning())
            GTEST_SKIP() << "Xvfb could not be started";
        ASSERT_TRUE(bus.isRunning());
    }

    void TearDown() override
    {
        for (auto& program : programs) {
            if (program->state() != QProcess::NotRunning) {
                program->terminate();
                if (!program->waitForFinished(5000))
                    program->kill();
                program->waitForFinished(3000);
            }
        }
    }

    QProcess& start(const QStringList& arguments = {})
    {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", display.name());
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
        environment.insert("XDG_RUNTIME_DIR", home.path());
        environment.insert("ORBISTAT_APP_GROUPS", "");
        // A recorded machine: no system bus, the same readings every run.
        environment.insert("ORBISTAT_SYSROOT", QString::fromStdString(fixture("intel-hybrid-laptop/t0")));
        // Under the sanitizers: Qt's X11 keyboard setup hands libxkbcommon a
        // name that is not NUL-terminated together with its length, which
        // strndup reads correctly but strict string checks report.
        if (environment.contains("ASAN_OPTIONS"))
            environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS").replace("strict_string_checks=1", "strict_string_checks=0"));
        auto program = std::make_unique<QProcess>();
        program->setProcessEnvironment(environment);
        program->start(QString::fromLatin1(orbistatBinary()), arguments);
        program->waitForStarted(5000);
        programs.push_back(std::move(program));
        return *programs.back();
    }

    std::optional<XvfbDisplay::Window> shownWindow(const QString& title)
    {
        for (const auto& window : display.topLevelWindows()) {
            if (window.viewable && window.title == title)
                return window;
        }
        return std::nullopt;
    }

    QDBusMessage callItem(const QString& service, const QString& member, const QVariantList& arguments)
    {
        auto message = QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
                                                      QStringLiteral("org.kde.StatusNotifierItem"), member);
        message.setArguments(arguments);
        return panel.call(message, QDBus::BlockWithGui, 5000);
    }
};

} // namespace

TEST_F(TrayProgramTest, RegistersOpensThePopoverAtTheClickAndComesBackAfterAPanelRestart)
{
    watcher.emplace(panel);
    ASSERT_TRUE(watcher->isRunning());
    QProcess& program = start();
    ASSERT_TRUE(waitUntil([&] { return !watcher->registrations().isEmpty(); }, 15000))
        << program.readAllStandardError().toStdString();
    const QString service = watcher->registrations().front();
    EXPECT_FALSE(shownWindow(QStringLiteral("Orbistat"))) << "no window before a click";

    // The screen is 1280 × 800 without panels: the popover is 340 × 770,
    // and a click near the top leaves room for it right there.
    callItem(service, QStringLiteral("Activate"), {300, 20});
    ASSERT_TRUE(waitUntil([&] { return shownWindow(QStringLiteral("Orbistat")).has_value(); }, 10000));
    EXPECT_EQ(shownWindow(QStringLiteral("Orbistat"))->geometry, QRect(300, 20, 340, 770));

    // A second click on the item closes it.
    settle(400);
    callItem(service, QStringLiteral("Activate"), {300, 20});
    ASSERT_TRUE(waitUntil([&] { return !shownWindow(QStringLiteral("Orbistat")).has_value(); }, 10000));

    // The panel restarts: the item registers with the new watcher, once.
    watcher.reset();
    settle(300);
    watcher.emplace(panel);
    ASSERT_TRUE(waitUntil([&] { return !watcher->registrations().isEmpty(); }, 10000));
    settle(500);
    EXPECT_EQ(watcher->registrations(), QStringList{service});
    EXPECT_EQ(program.state(), QProcess::Running);

    // A second start opens the running program's popover and ends.
    QProcess& second = start();
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(waitUntil([&] { return shownWindow(QStringLiteral("Orbistat")).has_value(); }, 10000));
    EXPECT_EQ(watcher->registrations().size(), 1);
}

TEST_F(TrayProgramTest, TwoStartedAtOnceLeaveOne)
{
    watcher.emplace(panel);
    QProcess& first = start();
    QProcess& second = start();
    ASSERT_TRUE(waitUntil([&] {
        return first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning;
    }, 15000));
    settle(1000);
    const int running = (first.state() == QProcess::Running) + (second.state() == QProcess::Running);
    EXPECT_EQ(running, 1);
    QProcess& ended = first.state() == QProcess::Running ? second : first;
    EXPECT_EQ(ended.exitCode(), 0);
    EXPECT_EQ(watcher->registrations().size(), 1);
}

TEST_F(TrayProgramTest, WithoutATrayAWindowOpensAndClosingItQuits)
{
    QProcess& program = start();
    ASSERT_TRUE(waitUntil([&] { return shownWindow(QStringLiteral("Orbistat")).has_value(); }, 15000))
        << program.readAllStandardError().toStdString();
    const auto window = *shownWindow(QStringLiteral("Orbistat"));
    EXPECT_EQ(window.geometry.width(), 340);
    ASSERT_TRUE(display.requestClose(window.id));
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
