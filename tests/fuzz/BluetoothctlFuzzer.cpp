// libFuzzer target: the output of `bluetoothctl devices Connected` and of
// `bluetoothctl info`, separated by a byte 0x01 (the one info text answers
// for every listed device). Properties: parsing is deterministic; every
// listed device has a valid address and a name free of escape sequences and
// line breaks; the accessories the sampler builds from the report have
// names, levels within 0 and 100, and no device twice.
#include "AccessoryChecks.h"
#include "doubles/FakeAccessorySources.h"
#include "doubles/FakeClock.h"
#include "platform/linux/BluetoothctlParsing.h"
#include "samplers/AccessoriesSampler.h"

using namespace orbistat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto outputs = fuzz::parts(fuzz::asText(data, size), 2);
    const auto devices = parseBluetoothctlDevices(outputs[0]);
    fuzz::require(parseBluetoothctlDevices(outputs[0]) == devices, "device parsing is deterministic");
    const auto info = parseBluetoothctlInfo(outputs[1]);
    fuzz::require(parseBluetoothctlInfo(outputs[1]) == info, "info parsing is deterministic");

    test::FakeBluetoothProfiler profiler;
    profiler.devices.emplace();
    for (const auto& device : devices) {
        fuzz::require(isBluetoothAddress(device.address.toStdString()), "a device has a valid address");
        for (const QChar c : {QChar(0x1b), QChar(u'\n'), QChar(u'\r')})
            fuzz::require(!device.name.contains(c), "a name holds no escape or line break");
        const auto entry = profilerDeviceFrom(device, info);
        fuzz::require(!entry.name.isEmpty(), "a reported device has a name");
        profiler.devices->push_back(entry);
    }
    if (info) {
        for (const auto* field : {&info->name, &info->alias, &info->icon}) {
            if (*field)
                fuzz::require(!(*field)->contains(QChar(0x1b)) && !(*field)->contains(QChar(u'\n')), "info values are one clean line");
        }
    }

    test::FakePowerSourceList sources;
    test::FakeDeviceBatteryRegistry registry;
    test::FakeClock clock;
    AccessoriesSampler sampler(sources, registry, profiler, clock);
    fuzz::requireSoundAccessories(sampler.sample());
    return 0;
}
