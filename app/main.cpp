// orbistat: the system monitor.
#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "shared/bridge/WidgetBridge.h"

#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

using namespace orbistat;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orbistat"));
    QCoreApplication::setApplicationName(QStringLiteral("Orbistat"));

    const auto commandLine = parseCommandLine(QCoreApplication::arguments());
    if (!commandLine || commandLine->help) {
        QTextStream(commandLine ? stdout : stderr) << usageText();
        return commandLine ? 0 : 2;
    }

    SettingsStore settings;
    LinuxMachine machine(LinuxRoot::fromEnvironment());
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());

    const auto format = commandLine->mode == CommandLine::Mode::json ? HeadlessRunner::Format::json : HeadlessRunner::Format::text;
    // A changed interval setting applies at once, unless this run fixed its
    // own with --interval.
    if (!commandLine->interval) {
        QObject::connect(&settings, &SettingsStore::changed, &monitor, [&settings, &monitor] {
            monitor.setInterval(std::max(settings.doubleValue(SettingsKey::updateInterval), 0.5));
        });
    }

    HeadlessRunner runner(monitor, format, commandLine->count, commandLine->interval);
    WidgetBridge bridge(settings);
    runner.setAfterEachTick([&] { bridge.publish(monitor); });
    runner.start();
    return app.exec();
}
