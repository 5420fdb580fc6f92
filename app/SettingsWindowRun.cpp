#include "app/SettingsWindowRun.h"

#include "alerts/AlertManager.h"
#include "app/CommandLine.h"
#include "app/DesktopProgram.h"
#include "app/LinuxMachine.h"
#include "app/SingleInstance.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "platform/linux/LinuxAutostartEntry.h"
#include "platform/linux/LinuxDBusNotifier.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "ui/settings/SettingsWindowController.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTextStream>

namespace orbistat {

int runSettingsWindow(int argc, char* argv[])
{
    // Without a display Qt would abort inside the application's constructor.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QTextStream(stderr) << "orbistat: the settings window needs a display (DISPLAY or WAYLAND_DISPLAY is not set)\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbistat"));
    QApplication::setApplicationName(QStringLiteral("Orbistat"));
    QApplication::setDesktopFileName(QStringLiteral("orbistat"));

    const auto commandLine = parseCommandLine(QApplication::arguments());
    if (!commandLine || commandLine->help) {
        QTextStream(commandLine ? stdout : stderr) << usageText();
        return commandLine ? 0 : 2;
    }

    // A running tray program shows its own settings window: one window,
    // on the monitor the tray already runs.
    if (SingleInstance::ask(QDBusConnection::sessionBus(), QStringLiteral("ShowSettings"), {rawValue(commandLine->settingsTab)}))
        return 0;

    SettingsStore settings;
    auto root = LinuxRoot::fromEnvironment();
    auto systemBus = root.isRecorded() ? QDBusConnection(QStringLiteral("orbistat-no-bus")) : QDBusConnection::systemBus();
    LinuxMachine machine(std::move(root), systemBus);
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
    QObject::connect(&settings, &SettingsStore::changed, &monitor, [&settings, &monitor] {
        monitor.setInterval(SystemMonitor::boundedInterval(settings.doubleValue(SettingsKey::updateInterval)));
    });

    const LinuxUptimeClock hostClock{LinuxRoot("/")};
    LinuxDBusNotifier notifier(QDBusConnection::sessionBus());
    AlertManager alerts(settings, notifier, hostClock);
    auto autostart = LinuxAutostartEntry::forThisProgram(launcherProgramPath());

    ui::SettingsWindowController controller({settings, &alerts, &autostart});
    QObject::connect(&controller, &ui::SettingsWindowController::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    monitor.start();
    controller.show(monitor, commandLine->settingsTab);
    const int status = app.exec();
    notifier.settle(3000);
    return status;
}

} // namespace orbistat
