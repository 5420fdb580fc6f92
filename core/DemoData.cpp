#include "core/DemoData.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace orbistat {

std::vector<double> generatedHistory(double a, double b, double amplitude, double base, bool isFraction, size_t count)
{
    std::vector<double> points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const double x = static_cast<double>(i);
        double value = (std::sin(x / 5.0 + a) * 0.6 + std::sin(x / 2.3 + b) * 0.4) * amplitude + base;
        value = std::max(value, 0.0);
        if (isFraction)
            value = std::min(value, 1.0);
        points.push_back(value);
    }
    return points;
}

DemoData makeDemoData()
{
    DemoData demo;
    demo.cpu = {0.34, 0.22, 0.12, {0.62, 0.55, 0.48, 0.41, 0.36, 0.30, 0.24, 0.19, 0.14, 0.11, 0.08, 0.05}};
    demo.memory = {34359738368ull, 13958643712ull, 4294967296ull, 2147483648ull, 536870912ull, MemorySample::Pressure::normal};
    demo.network = {2400000.0, 180000.0};

    demo.networkInfo.kind = NetworkInfo::Kind::wifi;
    demo.networkInfo.interface = QStringLiteral("en0");
    demo.networkInfo.displayName = QStringLiteral("Wi-Fi");
    demo.networkInfo.localIP = QStringLiteral("192.168.1.24");
    demo.networkInfo.ssid = QCoreApplication::translate("DemoData", "Home");
    demo.networkInfo.rssi = -52;
    demo.networkInfo.noise = -92;
    demo.networkInfo.linkSpeedMbps = 866.0;

    demo.disk = {994662584320ull, 420000000000ull, 38000000.0, 12000000.0};
    demo.gpu = 0.21;

    auto& sensors = demo.sensors;
    sensors.cpu = 52.0;
    sensors.cpuHottest = 61.0;
    sensors.gpu = 47.0;
    sensors.soc = 49.0;
    sensors.ssd = 38.0;
    sensors.battery = 31.0;
    sensors.fans = {FanReading{0, 1850.0, 1200.0, 6000.0}};
    sensors.systemPower = 18.4;
    sensors.components = {4.15, 1.1, 0.1, 0.8};

    demo.battery = BatterySample{82, false, false, 410, 142, 96, 31.0, 6.2};

    demo.accessories = {
        {QCoreApplication::translate("DemoData", "Keyboard"), 90, false, QStringLiteral("keyboard")},
        {QCoreApplication::translate("DemoData", "Mouse"), 64, false, QStringLiteral("computermouse")},
        {QCoreApplication::translate("DemoData", "Headphones"), 80, false, QStringLiteral("headphones")},
    };

    struct Shape {
        double a, b, amplitude, base;
        bool isFraction;
    };
    constexpr std::array<Shape, monitorHistoryCount> shapes{{
        {0.4, 0.8, 0.2, 0.32, true},               // cpu
        {1.1, 2.2, 0.03, 0.62, true},              // memory
        {2.0, 4.0, 1800000, 2200000, false},       // download
        {0.9, 1.8, 140000, 200000, false},         // upload
        {1.7, 3.4, 25000000, 30000000, false},     // disk read
        {0.2, 0.4, 8000000, 10000000, false},      // disk write
        {2.6, 5.2, 0.15, 0.2, true},               // gpu
        {0.8, 1.6, 6.0, 52.0, false},              // cpu temperature
        {1.5, 3.0, 7.0, 16.0, false},              // system power
    }};
    for (size_t i = 0; i < shapes.size(); ++i) {
        const auto& s = shapes[i];
        demo.histories[i] = generatedHistory(s.a, s.b, s.amplitude, s.base, s.isFraction);
    }
    return demo;
}

} // namespace orbistat
