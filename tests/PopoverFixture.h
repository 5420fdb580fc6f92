// A monitor in demo mode with a settings file of its own, for the popover
// tests: publish the demo values, or any variation of them, and render.
#pragma once

#include "core/DemoData.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeClock.h"

#include <QTemporaryDir>
#include <cmath>
#include <limits>

namespace orbistat::test {

struct PopoverFixture {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    FakeClock clock;
    SystemMonitor monitor{MonitorSamplers{}, settings, clock};

    PopoverFixture() { monitor.enterDemoMode(); }

    // Publishes the values as one tick would.
    void publish(DemoData data) { monitor.enterDemoMode(std::move(data)); }
};

// A name no layout expects: 5,000 characters with markup, line breaks, tabs
// and NULs.
inline QString hostileName(int seed)
{
    QString name = QStringLiteral("<b>bold</b> &amp; <a href='x'>link</a>\n\tline\r%1 ").arg(seed);
    name += QChar(0);
    while (name.size() < 5000)
        name += QStringLiteral("<i>W</i>\u2028x\x01");
    name.truncate(5000);
    return name;
}

// Everything at once: 200 sensors, 40 cores, 4 fans, 9 accessories, long
// machine texts, and numbers that are no numbers.
inline DemoData hostileData()
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    DemoData data = makeDemoData();
    data.cpu.total = nan;
    data.cpu.user = inf;
    data.cpu.system = -3.0;
    data.cpu.perCore.clear();
    for (int i = 0; i < 40; ++i) {
        const double values[] = {nan, inf, -inf, -0.5, 0.0, 0.5, 0.95, 1.0, 7.0, 1e300};
        data.cpu.perCore.push_back(values[i % 10]);
    }
    data.memory.app = std::numeric_limits<uint64_t>::max();
    data.memory.wired = 5;
    data.memory.total = 0;
    data.disk.available = data.disk.total + 1;
    data.disk.readRate = nan;
    data.disk.writeRate = -inf;
    data.network.download = inf;
    data.network.upload = nan;
    data.networkInfo.ssid = hostileName(1);
    data.networkInfo.interface = hostileName(2);
    data.networkInfo.displayName = hostileName(3);
    data.networkInfo.localIP = hostileName(4);
    data.networkInfo.debug = hostileName(5);
    data.networkInfo.ssidHiddenByPrivacy = true;
    data.networkInfo.rssi = std::numeric_limits<int64_t>::min();
    data.networkInfo.noise = std::numeric_limits<int64_t>::max();
    data.networkInfo.linkSpeedMbps = 1e300;
    data.gpu = nan;
    data.sensors.cpu = 1e300;
    data.sensors.cpuHottest = nan;
    data.sensors.all.clear();
    for (int i = 0; i < 200; ++i)
        data.sensors.all.push_back({hostileName(100 + i), i % 7 == 0 ? nan : 20.0 + i});
    data.sensors.fans = {{0, nan, 1200.0, 6000.0}, {1, 9000.0, 6000.0, 1200.0}, {2, -5.0, 0.0, 100.0},
                         {std::numeric_limits<int64_t>::max(), 1e12, 0.0, 1.0}};
    data.sensors.systemPower = inf;
    data.battery->percent = std::numeric_limits<int64_t>::min();
    data.battery->minutesRemaining = std::numeric_limits<int64_t>::max();
    data.battery->watts = nan;
    data.accessories.clear();
    for (int i = 0; i < 9; ++i)
        data.accessories.push_back({hostileName(300 + i), i * 40 - 100, i % 2 == 0, hostileName(400 + i)});
    for (auto& history : data.histories) {
        history.assign({nan, inf, -inf, -1.0, 1e300, 0.5, 2.0});
        for (int i = 0; i < 70; ++i)
            history.push_back(i % 3 == 0 ? nan : i * 1e6);
    }
    return data;
}

} // namespace orbistat::test
