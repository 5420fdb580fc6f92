// A time-lapse: the whole monitor over a machine tree for 100,000 ticks
// (about two and a half days at the default interval), its clock injected.
// The counters advance every tick; every thousand ticks a Bluetooth HID
// battery, a hwmon chip, a disk and a network interface appear or vanish;
// UPower and BlueZ leave and come back on the test's own bus. The histories
// must stay at 60 points, the memory in use and the open descriptors must
// not grow after the warm-up, every published value must stay sound, and
// the accessory refreshes must never overlap.
//
// The tree is read as a running machine's (not a recorded one): files are
// kept open as on a real machine, and UPower and BlueZ are asked. Every
// adapter and the monitor share the injected clock, two seconds a tick.
#include "PublishedValues.h"
#include "TestPaths.h"
#include "TreeReplay.h"
#include "app/LinuxMachine.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeDBusService.h"
#include "doubles/PrivateBus.h"
#include "doubles/WidgetStoreEnvironment.h"
#include "samplers/AccessoryInventory.h"

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <numeric>
#include <thread>
#include <unistd.h>

using namespace orbistat;
namespace fs = std::filesystem;

using InterfaceMap = QMap<QString, QVariantMap>;
using ObjectMap = QMap<QDBusObjectPath, InterfaceMap>;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The sanitizers make a tick several times slower and keep freed memory in
// quarantine: a shorter lapse, and no measure of the memory in use.
constexpr int baseTicks = 12'000;
constexpr bool measuresMemory = false;
#else
constexpr int baseTicks = 100'000;
constexpr bool measuresMemory = true;
#endif

// ORBISTAT_HOSTILE_SCALE=N makes the lapse N times as long.
int totalTicks()
{
    const int scale = qEnvironmentVariableIntValue("ORBISTAT_HOSTILE_SCALE");
    return baseTicks * std::max(scale, 1);
}
constexpr int devicePeriod = 1000;
constexpr int servicePeriod = 5000;

// Counts the inventory runs in progress at once.
class CountingInventory final : public AccessoryInventory {
public:
    explicit CountingInventory(std::shared_ptr<AccessoryInventory> inner)
        : inner_(std::move(inner))
    {
    }
    std::vector<AccessoryBattery> sample() override
    {
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        auto result = inner_->sample();
        --running;
        ++runs;
        return result;
    }
    QString diagnostics() const override { return inner_->diagnostics(); }

    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<int> runs{0};

private:
    std::shared_ptr<AccessoryInventory> inner_;
};

// A laptop whose counters move: the recorded sensors, batteries and
// energy counters of one machine, with processor, memory, network and disk
// files written anew at every tick, in place, as the kernel regenerates
// them behind a descriptor kept open.
class MovingMachine {
public:
    explicit MovingMachine(const QTemporaryDir& dir)
        : tree_(test::copyOfTree(dir, "intel-laptop/t0"))
    {
        write("sys/class/net/eth0/flags", "0x1003\n");
        write("sys/class/net/eth0/operstate", "up\n");
        write("sys/class/net/eth0/type", "1\n");
        fs::create_directories(tree_ / "sys/block/nvme0n1/device");
        advance(0);
    }
    const fs::path& path() const { return tree_; }

    void advance(uint64_t tick)
    {
        const bool present = (tick / devicePeriod) % 2 == 1;
        if (present != devicesPresent_) {
            devicesPresent_ = present;
            setDevices(present);
        }
        const uint64_t t = tick + 1;
        write("proc/stat", "cpu  " + n(t * 8) + " 0 " + n(t * 4) + " " + n(t * 20) + "\ncpu0 " + n(t * 5) + " 0 " + n(t * 2) + " "
                               + n(t * 9) + " 0 0 0 0 0 0\ncpu1 " + n(t * 3) + " " + n(t % 7) + " " + n(t * 2) + " " + n(t * 11)
                               + " 1 0 0 0 0 0\nintr 1\n");
        write("proc/meminfo", "MemTotal:       16000000 kB\nMemFree:  100 kB\nMemAvailable:   " + n(6000000 + (t * 37) % 4000000)
                                  + " kB\nSwapTotal: 8000000 kB\nSwapFree: 7000000 kB\nSUnreclaim: 200000 kB\nKernelStack: 20000 kB\n"
                                    "PageTables: 60000 kB\n");
        write("proc/pressure/memory", "some avg10=" + n(t % 15) + ".00 avg60=0.00 avg300=0.00 total=1\nfull avg10=0.00 avg60=0.00 avg300=0.00 total=0\n");
        std::string netDev = "Inter-|   Receive |  Transmit\n face |bytes packets|bytes\n    lo: 100 1 0 0 0 0 0 0 100 1 0 0 0 0 0 0\n  eth0: "
            + n(t * 150000) + " 1 0 0 0 0 0 0 " + n(t * 20000) + " 1 0 0 0 0 0 0\n";
        std::string diskStats = " 259 0 nvme0n1 1 0 " + n(t * 64) + " 0 1 0 " + n(t * 16) + " 0 0 0 0 0 0 0 0 0 0\n";
        if (devicesPresent_) {
            netDev += "  eth1: " + n(t * 1000) + " 1 0 0 0 0 0 0 " + n(t * 500) + " 1 0 0 0 0 0 0\n";
            diskStats += "   8 0 sdz 1 0 " + n(t * 8) + " 0 1 0 " + n(t * 8) + " 0 0 0 0 0 0 0 0 0 0\n";
            write("sys/class/hwmon/hwmon9/temp1_input", n(40000 + (t % 20) * 1000) + "\n");
            write("sys/class/power_supply/hid-soak-battery/capacity", n(t % 101) + "\n");
        }
        write("proc/net/dev", netDev);
        write("proc/diskstats", diskStats);
    }

private:
    static std::string n(uint64_t value) { return std::to_string(value); }

    void write(const std::string& relative, const std::string& content)
    {
        const auto file = tree_ / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    }

    void setDevices(bool present)
    {
        if (!present) {
            for (const char* gone : {"sys/class/hwmon/hwmon9", "sys/class/power_supply/hid-soak-battery", "sys/block/sdz",
                                     "sys/class/net/eth1"})
                fs::remove_all(tree_ / gone);
            return;
        }
        write("sys/class/hwmon/hwmon9/name", "nvme\n");
        write("sys/class/power_supply/hid-soak-battery/type", "Battery\n");
        write("sys/class/power_supply/hid-soak-battery/scope", "Device\n");
        write("sys/class/power_supply/hid-soak-battery/model_name", "Soak Mouse\n");
        write("sys/class/power_supply/hid-soak-battery/status", "Discharging\n");
        fs::create_directories(tree_ / "sys/block/sdz/device");
        write("sys/class/net/eth1/flags", "0x1003\n");
        write("sys/class/net/eth1/operstate", "up\n");
    }

    fs::path tree_;
    bool devicesPresent_ = false;
};

// UPower and BlueZ on the test's bus, each able to leave and come back.
class Services {
public:
    explicit Services(test::PrivateBus& bus)
        : bus_(bus)
    {
        qDBusRegisterMetaType<InterfaceMap>();
        qDBusRegisterMetaType<ObjectMap>();
        setUPower(true);
        setBlueZ(true);
    }
    ~Services()
    {
        setUPower(false);
        setBlueZ(false);
    }

    void setUPower(bool up)
    {
        if (up == (upower_ != nullptr))
            return;
        if (!up) {
            upower_->detach();
            upower_.reset();
            bus_.disconnect(upowerPeer_);
            return;
        }
        upowerPeer_ = QStringLiteral("upowerd-") + QString::number(++starts_);
        upower_ = std::make_unique<test::FakeDBusService>();
        upower_->attach(bus_.connect(upowerPeer_), QStringLiteral("org.freedesktop.UPower"));
        const QString device = QStringLiteral("/org/freedesktop/UPower/devices/keyboard_dev");
        upower_->setProperties(device, QStringLiteral("org.freedesktop.UPower.Device"),
                               {{"Type", 6u}, {"PowerSupply", false}, {"Model", "Soak Keyboard"}, {"Percentage", 64.0}, {"State", 2u}});
        upower_->setReply(QStringLiteral("/org/freedesktop/UPower"), QStringLiteral("org.freedesktop.UPower"),
                          QStringLiteral("EnumerateDevices"), {QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(device)})});
    }

    void setBlueZ(bool up)
    {
        if (up == (bluez_ != nullptr))
            return;
        if (!up) {
            bluez_->detach();
            bluez_.reset();
            bus_.disconnect(bluezPeer_);
            return;
        }
        bluezPeer_ = QStringLiteral("bluetoothd-") + QString::number(++starts_);
        bluez_ = std::make_unique<test::FakeDBusService>();
        bluez_->attach(bus_.connect(bluezPeer_), QStringLiteral("org.bluez"));
        ObjectMap objects;
        objects[QDBusObjectPath("/org/bluez/hci0")] = {{"org.bluez.Adapter1", {{"Powered", true}}}};
        objects[QDBusObjectPath("/org/bluez/hci0/dev_A1")] = {
            {"org.bluez.Device1", {{"Name", "Soak Pen"}, {"Connected", true}}},
            {"org.bluez.Battery1", {{"Percentage", QVariant::fromValue(static_cast<uchar>(70))}}},
        };
        objects[QDBusObjectPath("/org/bluez/hci0/dev_A2")] = {
            {"org.bluez.Device1", {{"Name", "Soak Headset"}, {"Connected", true}, {"Class", 0x240404u}}},
            {"org.bluez.Battery1", {{"Percentage", QVariant::fromValue(static_cast<uchar>(40))}}},
        };
        bluez_->setReply(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"),
                         {QVariant::fromValue(objects)});
    }

    void setPenLevel(int level)
    {
        if (bluez_)
            bluez_->emitSignal(QStringLiteral("/org/bluez/hci0/dev_A1"), QStringLiteral("org.freedesktop.DBus.Properties"),
                               QStringLiteral("PropertiesChanged"),
                               {QStringLiteral("org.bluez.Battery1"), QVariantMap{{"Percentage", QVariant::fromValue(static_cast<uchar>(level))}},
                                QStringList()});
    }

private:
    test::PrivateBus& bus_;
    std::unique_ptr<test::FakeDBusService> upower_;
    std::unique_ptr<test::FakeDBusService> bluez_;
    QString upowerPeer_;
    QString bluezPeer_;
    int starts_ = 0;
};

long residentKiB()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// What each open descriptor refers to, in order. Sockets and pipes by kind
// only: a service that left and came back has a new connection.
std::vector<std::string> openDescriptors()
{
    std::vector<std::string> targets;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        auto target = fs::read_symlink(entry.path(), error).string();
        if (target.rfind("socket:", 0) == 0 || target.rfind("pipe:", 0) == 0)
            target = target.substr(0, target.find(':'));
        if (target.rfind("/proc/", 0) != 0)  // the listing itself
            targets.push_back(target);
    }
    std::sort(targets.begin(), targets.end());
    return targets;
}

std::string listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += "\n  " + line;
    return text;
}

template <typename Predicate>
bool settle(Predicate done, int timeoutMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

} // namespace

TEST(Soak, AHundredThousandTicksKeepHistoriesMemoryAndDescriptorsFlat)
{
    test::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    test::WidgetStoreEnvironment store("group.soak");
    // Every accessory refresh on a thread of its own, ended once idle: the
    // descriptors a thread holds (its event queue's) are then counted the
    // same way at every quiet moment, and a thread that does not end shows.
    auto* pool = QThreadPool::globalInstance();
    const int expiry = pool->expiryTimeout();
    pool->setExpiryTimeout(0);
    const auto restoreExpiry = qScopeGuard([pool, expiry] { pool->setExpiryTimeout(expiry); });
    // In memory where the machine has a tmpfs, as /proc and /sys are: the
    // tree is rewritten at every tick.
    QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/orbistat-soak-XXXXXX") : QString());
    MovingMachine tree(dir);
    Services services(bus);
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    test::FakeClock clock;

    // The host's NVIDIA library, if any, says nothing about this tree.
    const auto noNvml = [] { return std::optional<NvmlApi>(); };
    LinuxMachine linux(LinuxRoot(tree.path(), false), bus.connect(QStringLiteral("orbistat")), QStringLiteral("/bin/false"), noNvml,
                       &clock);
    auto samplers = linux.makeSamplers();
    auto inventory = std::make_shared<CountingInventory>(samplers.accessories);
    samplers.accessories = inventory;
    SystemMonitor monitor(std::move(samplers), settings, clock);
    WidgetBridge bridge(settings, [] { return QDateTime::currentDateTimeUtc(); }, [] { return true; });

    const int ticks = totalTicks();
    // The attributes of the devices present stay open between ticks, and
    // each service that is up has its connection: the descriptors are
    // compared at two moments when the same devices and services are there.
    // The warm-up ends a whole number of cycles of both before the run does.
    constexpr int cycle = std::lcm(2 * devicePeriod, servicePeriod);
    int warmUpTicks = ticks / 5;
    warmUpTicks -= ((warmUpTicks - ticks) % cycle + cycle) % cycle;
    bool sawHidBattery = false;
    bool sawNewChip = false;
    long warmResident = 0;
    std::vector<std::string> warmDescriptors;
    int unsound = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int tick = 0; tick < ticks; ++tick) {
        const int phase = tick % servicePeriod;
        if (phase == servicePeriod / 2)
            services.setUPower(false);
        else if (phase == servicePeriod * 7 / 10)
            services.setUPower(true);
        if (phase == servicePeriod * 6 / 10)
            services.setBlueZ(false);
        else if (phase == servicePeriod * 8 / 10)
            services.setBlueZ(true);
        if (tick % 100 == 50)
            services.setPenLevel(tick / 100 % 101);

        tree.advance(static_cast<uint64_t>(tick));
        clock.advance(2.0);
        monitor.tick();
        QCoreApplication::processEvents();

        if (tick % 10 == 0) {
            for (const auto& accessory : monitor.accessories())
                sawHidBattery = sawHidBattery || accessory.name == QStringLiteral("Soak Mouse");
            for (const auto& reading : monitor.sensors().all)
                sawNewChip = sawNewChip || reading.name == QStringLiteral("NAND temp1");
            const auto broken = test::unsoundValues(monitor, bridge);
            unsound += broken.empty() ? 0 : 1;
            EXPECT_TRUE(broken.empty() || unsound > 3) << "tick " << tick << ": " << broken.front();
        }
        if (tick + 1 == warmUpTicks) {
            ASSERT_TRUE(settle([&] { return !monitor.isSamplingAccessories(); }));
            // The refresh's thread may still be ending, its event queue open.
            pool->waitForDone(3000);
            warmResident = residentKiB();
            warmDescriptors = openDescriptors();
        }
    }
    ASSERT_TRUE(settle([&] { return !monitor.isSamplingAccessories(); }));
    pool->waitForDone(3000);
    // A call or a child process may still be closing its descriptors.
    settle([&] { return openDescriptors() == warmDescriptors; }, 3000);
    const long endResident = residentKiB();
    const auto endDescriptors = openDescriptors();
    std::cout << "[ soak ] " << ticks << " ticks in " << elapsed.elapsed() << " ms, " << inventory->runs << " accessory refreshes, "
              << "resident " << warmResident << " -> " << endResident << " KiB, descriptors " << warmDescriptors.size() << " -> "
              << endDescriptors.size() << "\n";

    EXPECT_EQ(unsound, 0);
    EXPECT_TRUE(sawHidBattery) << "the HID battery that comes and goes was never listed";
    EXPECT_TRUE(sawNewChip) << "the hwmon chip that comes and goes was never read";
    for (size_t i = 0; i < monitorHistoryCount; ++i)
        EXPECT_LE(monitor.history(static_cast<MonitorHistory>(i)).size(), 60u) << "history " << i;
    EXPECT_EQ(monitor.history(MonitorHistory::cpu).size(), 60u);
    EXPECT_EQ(monitor.history(MonitorHistory::download).size(), 60u);
    EXPECT_EQ(inventory->most, 1) << "accessory refreshes overlapped";
    // Both services answered: their devices are listed.
    QStringList names;
    for (const auto& accessory : monitor.accessories())
        names << accessory.name;
    EXPECT_TRUE(names.contains(QStringLiteral("Soak Keyboard"))) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("Soak Pen"))) << names.join(", ").toStdString();
    EXPECT_GT(inventory->runs, 100);
    EXPECT_EQ(endDescriptors, warmDescriptors) << "after the warm-up:" << listed(warmDescriptors) << "\nat the end:" << listed(endDescriptors);
    if (measuresMemory) {
        EXPECT_LT(endResident - warmResident, 2048) << "KiB grown after the warm-up";
    }
}
