#include "app/HeadlessRun.h"

#include "app/HeadlessRunner.h"
#include "app/LinuxMachine.h"
#include "app/ListingNotifier.h"
#include "alerts/AlertManager.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/bridge/WidgetBridge.h"
#include "platform/linux/LinuxDBusNotifier.h"
#include "platform/linux/LinuxUptimeClock.h"

#include <QCoreApplication>
#include <QDBusConnection>

namespace orbistat {

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orbistat"));
    QCoreApplication::setApplicationName(QStringLiteral("Orbistat"));
}

int runHeadless(int argc, char* argv[], const CommandLine& commandLine)
{
    QCoreApplication app(argc, argv);
    nameApplication();

    SettingsStore settings;
    auto root = LinuxRoot::fromEnvironment();
    auto systemBus = LinuxMachine::systemBusFor(root);
    LinuxMachine machine(std::move(root), systemBus);
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());

    const auto format = commandLine.mode == CommandLine::Mode::json ? HeadlessRunner::Format::json : HeadlessRunner::Format::text;
    // A changed interval setting applies at once, unless this run fixed its
    // own with --interval.
    if (!commandLine.interval) {
        QObject::connect(&settings, &SettingsStore::changed, &monitor, [&settings, &monitor] {
            monitor.setInterval(SystemMonitor::boundedInterval(settings.doubleValue(SettingsKey::updateInterval)));
        });
    }

    // Alerts are dated by the host's clock even when a recorded tree is read:
    // the tree's uptime stands still, and the cooldown would never end.
    const LinuxUptimeClock hostClock{LinuxRoot("/")};
    LinuxDBusNotifier desktop(QDBusConnection::sessionBus());
    // A recorded tree is another machine: its alerts are listed in the
    // output but not shown on this desktop, and its snapshot goes only to a
    // group named for it, not to this desktop's widgets.
    const bool isRecorded = machine.root().isRecorded();
    ListingNotifier notifier(isRecorded ? nullptr : &desktop);
    AlertManager alerts(settings, notifier, hostClock);
    HeadlessRunner runner(monitor, settings, &alerts, format, commandLine.count, commandLine.interval);
    runner.setNotifications(&notifier);
    WidgetBridge bridge(settings);
    bridge.publishOnlyToNamedGroup(isRecorded);
    runner.setAfterEachTick([&] { bridge.publish(monitor); });
    runner.setDetails(commandLine.details);
    runner.start();
    const int status = app.exec();
    desktop.settle(3000);
    return status;
}

} // namespace orbistat
