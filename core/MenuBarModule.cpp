#include "core/MenuBarModule.h"

#include <QCoreApplication>

namespace orbistat {

namespace {
const MenuBarModuleInfo& info(MenuBarModule module)
{
    return menuBarModuleTable[static_cast<size_t>(module)];
}
} // namespace

QString rawValue(MenuBarModule module) { return QString::fromLatin1(info(module).rawValue); }

QString title(MenuBarModule module)
{
    // "CPU" and "GPU" are technical labels and stay as they are.
    if (module == MenuBarModule::cpu || module == MenuBarModule::gpu)
        return QString::fromLatin1(info(module).title);
    return QCoreApplication::translate("MenuBarModule", info(module).title);
}

QString symbolName(MenuBarModule module) { return QString::fromLatin1(info(module).symbol); }

std::optional<MenuBarModule> menuBarModuleFromRaw(const QString& raw)
{
    for (const auto& entry : menuBarModuleTable) {
        if (raw == QLatin1String(entry.rawValue))
            return entry.module;
    }
    return std::nullopt;
}

} // namespace orbistat
