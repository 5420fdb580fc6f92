#include "doubles/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using orbistat::test::PrivateBus;

TEST(PrivateBus, PeersSeeEachOthersNamesAndNotTheMachinesBus)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    auto client = bus.connect(QStringLiteral("client"));
    {
        auto service = bus.connect(QStringLiteral("service"));
        ASSERT_TRUE(service.isConnected());
        ASSERT_TRUE(service.registerService(QStringLiteral("org.example.Fake")));
        EXPECT_TRUE(client.interface()->isServiceRegistered(QStringLiteral("org.example.Fake")).value());
    }
    // Dropping the last handle of a peer's connection takes its names away,
    // as when a service process exits.
    bus.disconnect(QStringLiteral("service"));
    QElapsedTimer timer;
    timer.start();
    while (client.interface()->isServiceRegistered(QStringLiteral("org.example.Fake")).value() && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(client.interface()->isServiceRegistered(QStringLiteral("org.example.Fake")).value());
}
