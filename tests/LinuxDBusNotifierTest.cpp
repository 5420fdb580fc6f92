#include "doubles/FakeNotificationServer.h"
#include "doubles/PrivateBus.h"
#include "platform/linux/LinuxDBusNotifier.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <optional>

using namespace orbistat;
using orbistat::test::FakeNotificationServer;
using orbistat::test::PrivateBus;
using orbistat::test::waitUntil;

namespace {

struct LinuxDBusNotifierTest : ::testing::Test {
    PrivateBus bus;
    FakeNotificationServer server;
    QDBusConnection serverConnection = bus.connect(QStringLiteral("server"));
    std::unique_ptr<LinuxDBusNotifier> notifier;

    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        notifier = std::make_unique<LinuxDBusNotifier>(bus.connect(QStringLiteral("client")));
    }

    void startServer()
    {
        ASSERT_TRUE(server.registerOn(serverConnection));
    }

    const FakeNotificationServer::Call& postAndReceive(const Notification& notification)
    {
        const size_t before = server.calls.size();
        notifier->post(notification);
        EXPECT_TRUE(waitUntil([&] { return server.calls.size() > before; }));
        // The reply (the id) has to be back before the next post can replace it.
        waitUntil([&] { return notifier->shownIds().count(notification.identifier) > 0; });
        static const FakeNotificationServer::Call none{};
        return server.calls.empty() ? none : server.calls.back();
    }

    std::optional<bool> authorization()
    {
        std::optional<bool> answer;
        notifier->requestAuthorization([&](bool granted) { answer = granted; });
        EXPECT_FALSE(answer) << "answered inside the request";
        waitUntil([&] { return answer.has_value(); });
        return answer;
    }
};

} // namespace

TEST_F(LinuxDBusNotifierTest, NotifyCarriesTheTextsHintsAndReplacesPerIdentifier)
{
    startServer();
    const auto& first = postAndReceive({"orbistat.cpu", "High CPU usage", "The CPU has been at 96% or more for a while."});
    EXPECT_EQ(first.appName, "Orbistat");
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_EQ(first.summary, "High CPU usage");
    EXPECT_EQ(first.body, "The CPU has been at 96% or more for a while.");
    EXPECT_TRUE(first.actions.isEmpty());
    EXPECT_EQ(first.timeout, -1);
    EXPECT_EQ(first.hints.value("desktop-entry").toString(), "orbistat");
    EXPECT_EQ(first.hints.value("sound-name").toString(), "message-new-instant");
    // Urgency must travel as a byte.
    EXPECT_EQ(first.hints.value("urgency").metaType().id(), QMetaType::UChar);
    EXPECT_EQ(first.hints.value("urgency").toUInt(), 1u);
    const uint cpuId = notifier->shownIds().at("orbistat.cpu");
    EXPECT_EQ(cpuId, 42u);

    // The same identifier replaces its notification; another one does not.
    EXPECT_EQ(postAndReceive({"orbistat.cpu", "High CPU usage", "again"}).replacesId, cpuId);
    EXPECT_EQ(postAndReceive({"orbistat.memory", "Memory is running low", "x"}).replacesId, 0u);

    // Posts in quick succession: each waits for the previous id, and of
    // several waiting texts only the newest is sent.
    const size_t before = server.calls.size();
    notifier->post({"orbistat.disk", "Disk almost full", "1"});
    notifier->post({"orbistat.disk", "Disk almost full", "2"});
    notifier->post({"orbistat.disk", "Disk almost full", "3"});
    ASSERT_TRUE(waitUntil([&] { return server.calls.size() == before + 2; }));
    QCoreApplication::processEvents();
    ASSERT_EQ(server.calls.size(), before + 2);
    EXPECT_EQ(server.calls[before].body, "1");
    EXPECT_EQ(server.calls[before + 1].body, "3");
    EXPECT_EQ(server.calls[before + 1].replacesId, server.nextId);

    // Once the server reports it closed, the id is forgotten.
    auto closed = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("org.freedesktop.Notifications"),
                                             QStringLiteral("NotificationClosed"));
    closed << cpuId << 2u;
    ASSERT_TRUE(serverConnection.send(closed));
    ASSERT_TRUE(waitUntil([&] { return notifier->shownIds().count("orbistat.cpu") == 0; }));
    EXPECT_EQ(notifier->shownIds().count("orbistat.memory"), 1u);
    EXPECT_EQ(postAndReceive({"orbistat.cpu", "High CPU usage", "third"}).replacesId, 0u);
}

TEST_F(LinuxDBusNotifierTest, HostileTextArrivesAsPlainTextOrEscapedMarkup)
{
    startServer();
    const QString name = QStringLiteral("<b>\"Bob's\" \\ & mouse</b>") + QChar(0) + QChar(0x1B) + QStringLiteral("\nend");
    const QString summary = QStringLiteral("Low\x01") + QChar(0) + QStringLiteral("\nbattery");

    // Without body markup the server shows the text as it is; control
    // characters (a NUL would make the message invalid) become spaces.
    auto call = postAndReceive({"orbistat.test", summary, name});
    EXPECT_EQ(call.summary.toStdString(), "Low   battery");
    EXPECT_EQ(call.body.toStdString(), "<b>\"Bob's\" \\ & mouse</b>  \nend");

    server.capabilities.append(QStringLiteral("body-markup"));
    call = postAndReceive({"orbistat.test", summary, name});
    EXPECT_EQ(call.summary.toStdString(), "Low   battery");
    EXPECT_EQ(call.body.toStdString(), "&lt;b&gt;&quot;Bob&#39;s&quot; \\ &amp; mouse&lt;/b&gt;  \nend");
}

TEST_F(LinuxDBusNotifierTest, AuthorisationIsARunningServerThatAnswers)
{
    EXPECT_EQ(authorization(), std::optional<bool>(false));
    startServer();
    EXPECT_EQ(authorization(), std::optional<bool>(true));
}

TEST(LinuxDBusNotifier, WithoutABusNothingIsPostedAndPermissionIsRefused)
{
    LinuxDBusNotifier notifier(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
    notifier.post({"orbistat.cpu", "t", "b"});
    std::optional<bool> answer;
    notifier.requestAuthorization([&](bool granted) { answer = granted; });
    EXPECT_FALSE(answer);
    waitUntil([&] { return answer.has_value(); });
    EXPECT_EQ(answer, std::optional<bool>(false));
    EXPECT_TRUE(notifier.shownIds().empty());
}
