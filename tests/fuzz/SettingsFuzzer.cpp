// libFuzzer target: the settings file. Input: the file's bytes, then after a
// byte 0x01 a text the settings window stores. Properties: every number read
// is finite; reading is deterministic; the module order holds all seven
// modules once, the enabled modules follow it without repeats; a set list
// joined again parses to the same set; a text written through the store
// reads back unchanged, whatever else the file holds.
#include "FuzzSupport.h"
#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

using namespace orbistat;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In memory when the machine has a tmpfs: every store write ends in an
    // fsync, which on a disk would cost most of the run.
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/orbistat-settings-fuzz-XXXXXX")
                                                                        : QString());
    const QString path = dir.filePath(QStringLiteral("Orbistat.conf"));
    const auto input = fuzz::parts(fuzz::asText(data, size), 2);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(input[0].data(), static_cast<qint64>(input[0].size()));
    }

    SettingsStore settings(path);
    for (const auto& [key, fallback] : SettingsStore::registeredDefaults()) {
        if (fallback.typeId() != QMetaType::Double)
            continue;
        const double value = settings.doubleValue(key);
        fuzz::require(std::isfinite(value), "a number setting is finite");
        fuzz::require(settings.doubleValue(key) == value, "reading is deterministic");
    }

    const auto orderText = settings.textValue(SettingsKey::menuBarOrder).value_or(QString());
    auto order = parseModuleOrder(orderText);
    fuzz::require(order.size() == menuBarModuleTable.size(), "the order holds all seven modules");
    std::sort(order.begin(), order.end());
    fuzz::require(std::adjacent_find(order.begin(), order.end()) == order.end(), "the order holds each module once");

    const auto enabled = settings.enabledMenuBarModules();
    const auto fullOrder = parseModuleOrder(orderText);
    auto position = fullOrder.begin();
    for (const auto module : enabled) {
        position = std::find(position, fullOrder.end(), module);
        fuzz::require(position != fullOrder.end(), "enabled modules follow the order without repeats");
        ++position;
    }

    const auto cards = settings.visibleCards();
    fuzz::require(parseSet(joinSet(cards)) == cards, "a set joined again parses the same");

    const auto style = settings.currentMenuBarStyle();
    fuzz::require(style == MenuBarStyle::inline_ || style == MenuBarStyle::stacked || style == MenuBarStyle::graph, "a known style");

    const QString written = QString::fromUtf8(input[1].data(), static_cast<qsizetype>(input[1].size()));
    settings.setValue(SettingsKey::menuBarEnabled, written);
    fuzz::require(settings.textValue(SettingsKey::menuBarEnabled) == written, "a stored text reads back unchanged");
    return 0;
}
