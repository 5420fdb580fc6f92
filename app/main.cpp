// orbistat: the system monitor.
#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"

#include <QCoreApplication>
#include <QTextStream>
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
    auto root = LinuxRoot::fromEnvironment();
    // A recorded tree is another machine: this machine's services say
    // nothing about it, so its system bus is not even opened.
    auto systemBus = root.isRecorded() ? QDBusConnection(QStringLiteral("orbistat-no-bus")) : QDBusConnection::systemBus();
    LinuxMachine machine(std::move(root), systemBus);
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());

    const auto format = commandLine->mode == CommandLine::Mode::json ? HeadlessRunner::Format::json : HeadlessRunner::Format::text;
    HeadlessRunner runner(monitor, format, commandLine->count, commandLine->interval);
    runner.start();
    return app.exec();
}
