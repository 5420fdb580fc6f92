#include "ui/settings/SettingsTab.h"

#include <QCoreApplication>

namespace orbistat {

namespace {
const SettingsTabInfo& info(SettingsTab tab)
{
    return settingsTabTable[static_cast<size_t>(tab)];
}
} // namespace

QString rawValue(SettingsTab tab) { return QString::fromLatin1(info(tab).rawValue); }

QString title(SettingsTab tab) { return QCoreApplication::translate("SettingsTab", info(tab).title); }

QString symbolName(SettingsTab tab) { return QString::fromLatin1(info(tab).symbol); }

std::optional<SettingsTab> settingsTabFromRaw(const QString& raw)
{
    for (const auto& entry : settingsTabTable) {
        if (raw == QLatin1String(entry.rawValue))
            return entry.tab;
    }
    return std::nullopt;
}

} // namespace orbistat
