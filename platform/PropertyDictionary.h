// A dictionary with text keys whose values keep the type the source gave
// them: the shape of a power-source description and of a battery
// controller's property table. Readers take a value only when it has the
// type they expect, so a wrongly typed entry reads as missing.
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <variant>

namespace orbistat {

using PropertyValue = std::variant<bool, int64_t, uint64_t, QString>;
using PropertyDictionary = std::map<QString, PropertyValue>;

// A number as a signed integer. An unsigned entry is taken bit for bit, so a
// negative current stored as a large unsigned value comes back negative.
inline std::optional<int64_t> integerProperty(const PropertyDictionary& dictionary, const QString& key)
{
    const auto it = dictionary.find(key);
    if (it == dictionary.end())
        return std::nullopt;
    if (const auto* value = std::get_if<int64_t>(&it->second))
        return *value;
    if (const auto* value = std::get_if<uint64_t>(&it->second))
        return static_cast<int64_t>(*value);
    return std::nullopt;
}

inline std::optional<bool> boolProperty(const PropertyDictionary& dictionary, const QString& key)
{
    const auto it = dictionary.find(key);
    if (it == dictionary.end())
        return std::nullopt;
    if (const auto* value = std::get_if<bool>(&it->second))
        return *value;
    return std::nullopt;
}

inline std::optional<QString> textProperty(const PropertyDictionary& dictionary, const QString& key)
{
    const auto it = dictionary.find(key);
    if (it == dictionary.end())
        return std::nullopt;
    if (const auto* value = std::get_if<QString>(&it->second))
        return *value;
    return std::nullopt;
}

} // namespace orbistat
