#include "ui/settings/ShownSettings.h"

#include "core/SettingsStore.h"

#include <cmath>

namespace orbistat::ui {

namespace {
double registeredDefault(const char* key)
{
    const auto& defaults = SettingsStore::registeredDefaults();
    const auto it = defaults.find(QString::fromLatin1(key));
    return it != defaults.end() ? it->second.toDouble() : 0.0;
}

int indexOf(double value, const std::vector<int>& options)
{
    for (size_t i = 0; i < options.size(); ++i) {
        if (std::abs(value - options[i]) < 1e-9)
            return static_cast<int>(i);
    }
    return -1;
}
} // namespace

double shownFraction(const SettingsStore& settings, const char* key, const FractionGrid& grid)
{
    const double value = settings.doubleValue(QString::fromLatin1(key));
    return grid.contains(value) ? value : registeredDefault(key);
}

int shownOption(const SettingsStore& settings, const char* key, const std::vector<int>& options)
{
    const int index = indexOf(settings.doubleValue(QString::fromLatin1(key)), options);
    return index >= 0 ? index : indexOf(registeredDefault(key), options);
}

} // namespace orbistat::ui
