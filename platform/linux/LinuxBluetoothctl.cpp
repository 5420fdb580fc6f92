#include "platform/linux/LinuxBluetoothctl.h"

#include "platform/linux/BluetoothctlParsing.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace orbistat {

namespace {

// The report of a handful of devices is a few kilobytes; a tool that
// writes more is not giving a report.
constexpr qsizetype outputLimit = 1 << 20;

void killGroup(QProcess& process)
{
    const auto pid = process.processId();
    // The child leads its own group (see run()), so this also ends whatever
    // it started, which could otherwise hold the pipe open.
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
    process.waitForFinished(1000);
}

} // namespace

LinuxBluetoothctl::LinuxBluetoothctl(QString program, bool enabled, int timeoutMs)
    : program_(std::move(program))
    , enabled_(enabled)
    , timeoutMs_(timeoutMs)
{
}

std::optional<QByteArray> LinuxBluetoothctl::run(const QStringList& arguments, bool* timedOut) const
{
    if (timedOut != nullptr)
        *timedOut = false;
    // A program that is not there is not started: QProcess leaves a
    // descriptor open for every start that fails, and without the tool
    // installed every refresh would add one.
    const QString program = program_.contains(QLatin1Char('/')) ? (QFileInfo(program_).isExecutable() ? program_ : QString())
                                                                : QStandardPaths::findExecutable(program_);
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    QElapsedTimer elapsed;
    elapsed.start();
    process.start();
    if (!process.waitForStarted(timeoutMs_))
        return std::nullopt;

    QByteArray output;
    while (process.state() != QProcess::NotRunning) {
        const qint64 left = timeoutMs_ - elapsed.elapsed();
        if (left <= 0) {
            killGroup(process);
            if (timedOut != nullptr)
                *timedOut = true;
            return std::nullopt;
        }
        const int slice = static_cast<int>(std::min<qint64>(left, 200));
        if (!process.waitForReadyRead(slice) && process.state() != QProcess::NotRunning)
            process.waitForFinished(slice);
        output += process.readAllStandardOutput();
        if (output.size() > outputLimit) {
            killGroup(process);
            return std::nullopt;
        }
    }
    output += process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || output.size() > outputLimit)
        return std::nullopt;
    return output;
}

std::optional<std::vector<ProfilerDevice>> LinuxBluetoothctl::connectedDevices()
{
    // A recorded tree's machine is not this one: its devices are unknown.
    if (!enabled_)
        return std::nullopt;
    const auto list = run({QStringLiteral("devices"), QStringLiteral("Connected")});
    if (!list)
        return std::nullopt;

    std::vector<ProfilerDevice> devices;
    bool toolHangs = false;
    for (const auto& device : parseBluetoothctlDevices(list->toStdString())) {
        // Once one run hit the time limit the others would too: the rest
        // are listed under their names alone rather than waited for.
        bool timedOut = false;
        const auto output = toolHangs ? std::nullopt : run({QStringLiteral("info"), device.address}, &timedOut);
        toolHangs = toolHangs || timedOut;
        devices.push_back(profilerDeviceFrom(device, output ? parseBluetoothctlInfo(output->toStdString()) : std::nullopt));
    }
    return devices;
}

} // namespace orbistat
