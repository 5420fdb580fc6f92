// orbistat-desktop: the desktop half of orbistat, which orbistat becomes for
// the tray program, the settings window and the screenshot export (see
// DesktopProgram.h). Started by hand it is the whole program: the terminal
// modes work here too.
#include "app/AppDelegate.h"
#include "app/DesktopProgram.h"
#include "app/HeadlessRun.h"
#include "app/SettingsWindowRun.h"
#include "app/LinuxMachine.h"
#include "app/ProgramMode.h"
#include "app/ScreenshotExport.h"
#include "app/SingleInstance.h"
#include "alerts/AlertManager.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
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

using namespace orbistat;

namespace {

// Takes the alerts of a machine that is not this one and shows nothing.
class SilentNotifier final : public Notifier {
public:
    void requestAuthorization(std::function<void(bool)> answer) override { answer(false); }
    void post(const Notification&) override {}
};

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

    auto systemBus = LinuxMachine::systemBusFor(root);
    LinuxMachine machine(std::move(root), systemBus);
    AppDelegate delegate(settings, alerts, machine.makeSamplers(), machine.clock(), sessionBus);
    delegate.widgetBridge().publishOnlyToNamedGroup(isRecorded);
    // The one settings window, opened from the menus and by
    // `orbistat --settings`; made after the delegate so that it goes first.
    auto autostart = LinuxAutostartEntry::forThisProgram(launcherProgramPath());
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
    return runProgram(argc, argv, DesktopModes{runTray, runExport, runSettingsWindow});
}
