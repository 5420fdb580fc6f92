#include "samplers/AccessoryMerge.h"

#include <QCollator>
#include <algorithm>
#include <array>
#include <utility>

namespace orbistat {

QString normalizedKey(const QString& name)
{
    QString key;
    key.reserve(name.size());
    for (const QChar c : name.toLower()) {
        if (c.isLetterOrNumber())
            key.append(c);
    }
    return key;
}

bool isSameAccessory(const QString& nameA, const QString& nameB)
{
    const auto a = normalizedKey(nameA);
    const auto b = normalizedKey(nameB);
    // Every text ends with the empty text: a name without letters or digits
    // ("★★★") would otherwise swallow every other device. Such a name is
    // only the same device as the very same name.
    if (a.isEmpty() || b.isEmpty())
        return nameA == nameB;
    return a == b || a.endsWith(b) || b.endsWith(a);
}

QString symbolFor(const QString& name)
{
    struct Rule {
        std::initializer_list<const char*> words;
        const char* symbol;
    };
    static const std::array<Rule, 11> rules{{
        {{"airpods max"}, "airpodsmax"},
        {{"airpods pro"}, "airpodspro"},
        {{"airpods"}, "airpods"},
        {{"keyboard", "keys"}, "keyboard"},
        {{"trackpad"}, "hand.point.up.left"},
        {{"mouse", "master", "mx "}, "computermouse"},
        {{"headphone", "headset", "buds", "beats"}, "headphones"},
        {{"controller", "gamepad"}, "gamecontroller"},
        {{"pencil"}, "pencil"},
        {{"iphone"}, "iphone"},
        {{"watch"}, "applewatch"},
    }};
    const auto lower = name.toLower();
    for (const auto& rule : rules) {
        for (const char* word : rule.words) {
            if (lower.contains(QLatin1String(word)))
                return QString::fromLatin1(rule.symbol);
        }
    }
    return QStringLiteral("dot.radiowaves.left.and.right");
}

void sortAccessoriesByName(std::vector<AccessoryBattery>& accessories)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(accessories.begin(), accessories.end(), [&collator](const auto& a, const auto& b) {
        return collator.compare(a.name, b.name) < 0;
    });
}

std::vector<AccessoryBattery> mergeAccessories(const std::vector<std::vector<AccessoryBattery>>& lists)
{
    std::vector<AccessoryBattery> merged;
    for (const auto& list : lists) {
        for (const auto& candidate : list) {
            const bool duplicate = std::any_of(merged.begin(), merged.end(), [&](const AccessoryBattery& kept) {
                return isSameAccessory(kept.name, candidate.name);
            });
            if (!duplicate)
                merged.push_back(candidate);
        }
    }
    sortAccessoriesByName(merged);
    return merged;
}

} // namespace orbistat
