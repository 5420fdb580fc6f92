// The Bluetooth report from BlueZ's command-line tool: `bluetoothctl devices
// Connected`, then `bluetoothctl info ADDRESS` for each device. Each run of
// the tool has a time limit: a tool that hangs (a stuck bluetoothd, a
// prompt waiting for input) is killed with its process group and counts as
// not started, so one hung run never stops later refreshes.
#pragma once

#include "platform/BluetoothProfiler.h"

#include <QByteArray>
#include <QStringList>

namespace orbistat {

class LinuxBluetoothctl final : public BluetoothProfiler {
public:
    // `enabled` false (a recorded machine tree) reports nothing.
    explicit LinuxBluetoothctl(QString program = QStringLiteral("bluetoothctl"), bool enabled = true, int timeoutMs = 10000);

    std::optional<std::vector<ProfilerDevice>> connectedDevices() override;

    // Standard output of one run; absent when the program could not start,
    // was killed at the time limit or at the output limit, or failed.
    // `timedOut` tells the time limit apart from the other cases.
    std::optional<QByteArray> run(const QStringList& arguments, bool* timedOut = nullptr) const;

private:
    QString program_;
    bool enabled_;
    int timeoutMs_;
};

} // namespace orbistat
