// orbistat: the system monitor. With a desktop session it is the tray
// program; --print and --json (and any run without a display) write the
// readings to the terminal; -exportScreenshots FOLDER renders pictures.
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "app/SettingsWindowRun.h"
#include "app/LinuxMachine.h"
#include "app/ListingNotifier.h"
#include "app/ProgramMode.h"
#include "app/ScreenshotExport.h"
#include "app/SingleInstance.h"
#include "alerts/AlertManager.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/RuntimeDirectory.h"
#include "shared/bridge/WidgetBridge.h"
#include "shared/drawing/AppFonts.h"
#include "ui/popover/PopoverView.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/SettingsWindowController.h"
#include "platform/linux/LinuxAutostartEntry.h"
#include "platform/linux/LinuxDBusNotifier.h"
#include "platform/linux/LinuxUptimeClock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QStyleFactory>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

using namespace orbistat;

namespace {

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orbistat"));
    QCoreApplication::setApplicationName(QStringLiteral("Orbistat"));
}

// Takes the alerts of a machine that is not this one and shows nothing.
class SilentNotifier final : public Notifier {
public:
    void requestAuthorization(std::function<void(bool)> answer) override { answer(false); }
    void post(const Notification&) override {}
};

QDBusConnection systemBusFor(const LinuxRoot& root)
{
    // A recorded tree is another machine: this machine's services say
    // nothing about it, so its system bus is not even opened.
    return root.isRecorded() ? QDBusConnection(QStringLiteral("orbistat-no-bus")) : QDBusConnection::systemBus();
}

int runHeadless(int argc, char* argv[], const CommandLine& commandLine)
{
    QCoreApplication app(argc, argv);
    nameApplication();

    SettingsStore settings;
    auto root = LinuxRoot::fromEnvironment();
    auto systemBus = systemBusFor(root);
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

int runTray(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nameApplication();
    // The tray program has no main window: closing the popover or the
    // settings window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // Fusion draws every control from the palette, so the light and dark
    // palettes of the views look the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    registerAppFonts();

    // One tray program per session; a second start opens the first one's
    // popover and ends.
    auto sessionBus = QDBusConnection::sessionBus();
    SingleInstance instance(sessionBus);
    if (!becomeSingleInstance(instance, sessionBus, QStringLiteral("OpenPopover")))
        return 0;

    // Defaults are registered by the store; then the alerts, then the
    // tray (the export took the other branch earlier).
    SettingsStore settings;
    auto root = LinuxRoot::fromEnvironment();
    const bool isRecorded = root.isRecorded();
    const LinuxUptimeClock hostClock{LinuxRoot("/")};
    LinuxDBusNotifier desktop(sessionBus);
    // A recorded tree's alerts must not pop up on this desktop.
    SilentNotifier silent;
    AlertManager alerts(settings, isRecorded ? static_cast<Notifier&>(silent) : desktop, hostClock);

    auto systemBus = systemBusFor(root);
    LinuxMachine machine(std::move(root), systemBus);
    AppDelegate delegate(settings, alerts, machine.makeSamplers(), machine.clock(), sessionBus);
    delegate.widgetBridge().publishOnlyToNamedGroup(isRecorded);
    // The one settings window, opened from the menus and by
    // `orbistat --settings`; made after the delegate so that it goes first.
    auto autostart = LinuxAutostartEntry::forThisProgram();
    ui::SettingsWindowController settingsWindow({settings, &alerts, &autostart});
    delegate.settingsOpener = [&settingsWindow](SystemMonitor& monitor, const QString& tab) {
        settingsWindow.show(monitor, settingsTabFromRaw(tab).value_or(SettingsTab::general));
    };
    instance.onOpenPopover = [&delegate] { delegate.openPopover(); };
    instance.onShowSettings = [&delegate](const QString& tab) { delegate.openSettings(tab); };
    delegate.launch();
    const int status = app.exec();
    desktop.settle(3000);
    return status;
}

int runExport(int argc, char* argv[], const QString& folder)
{
    // The export needs no display: without one it renders off screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    registerAppFonts();

    // The same start as the tray program up to the branch: defaults, alerts.
    SettingsStore settings;
    const LinuxUptimeClock hostClock{LinuxRoot("/")};
    LinuxDBusNotifier notifier(QDBusConnection::sessionBus());
    AlertManager alerts(settings, notifier, hostClock);
    const auto settingsView = [](SystemMonitor& monitor, SettingsStore& store, Appearance) -> std::unique_ptr<QWidget> {
        // The export has no alert manager or login item to offer: those
        // controls show their resting state.
        return std::make_unique<ui::SettingsView>(monitor, SettingsServices{store});
    };
    const auto popoverView = [](SystemMonitor& monitor, SettingsStore& store, Appearance appearance) -> std::unique_ptr<QWidget> {
        return std::make_unique<ui::PopoverView>(monitor, store, ui::PopoverActions{}, appearance);
    };
    return runScreenshotExport(folder, settings, popoverView, settingsView);
}

} // namespace

int main(int argc, char* argv[])
{
    settleRuntimeDirectory();
    // The settings window needs a widget application and a display; with
    // the tray program running it is that program's window.
    if (asksForSettingsWindow(argc, argv))
        return runSettingsWindow(argc, argv);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const auto commandLine = parseCommandLine(arguments);
    if (!commandLine || commandLine->help) {
        QTextStream(commandLine ? stdout : stderr) << usageText();
        return commandLine ? 0 : 2;
    }

    switch (chooseProgramMode(*commandLine, environmentHasDisplay())) {
    case ProgramMode::headless:
        return runHeadless(argc, argv, *commandLine);
    case ProgramMode::terminal: {
        QTextStream(stderr) << terminalModeNote() << '\n';
        CommandLine printing = *commandLine;
        printing.mode = CommandLine::Mode::print;
        return runHeadless(argc, argv, printing);
    }
    case ProgramMode::tray:
        return runTray(argc, argv);
    case ProgramMode::exportScreenshots:
        return runExport(argc, argv, *commandLine->exportFolder);
    case ProgramMode::settingsWindow:
        return runSettingsWindow(argc, argv);
    }
    return 0;
}
