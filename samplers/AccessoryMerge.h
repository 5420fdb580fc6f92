// Merging accessory lists from several sources into one list without
// duplicates, and the name rules that merging and display share.
#pragma once

#include "shared/AccessoryBattery.h"

#include <QString>
#include <vector>

namespace orbistat {

// The name lowercased, keeping only letters and digits.
QString normalizedKey(const QString& name);

// Two names stand for one device when one normalized key ends with the other
// ("Keyboard" and "Magic Keyboard"). A name whose key is empty matches only
// the identical name.
bool isSameAccessory(const QString& nameA, const QString& nameB);

// The symbol name for a device, from words in its name.
QString symbolFor(const QString& name);

// Sorts by name, locale-aware and case-insensitive; equal names keep their
// order.
void sortAccessoriesByName(std::vector<AccessoryBattery>& accessories);

// Concatenates the lists in order, drops every record that is the same
// device as one kept before it (earlier lists win), and sorts by name.
std::vector<AccessoryBattery> mergeAccessories(const std::vector<std::vector<AccessoryBattery>>& lists);

} // namespace orbistat
