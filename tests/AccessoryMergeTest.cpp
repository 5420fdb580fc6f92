#include "samplers/AccessoryMerge.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(AccessoryMerge, NormalizedKeysAndTheDuplicateTest)
{
    EXPECT_EQ(normalizedKey(QStringLiteral("Magic Keyboard (2)")), QStringLiteral("magickeyboard2"));
    EXPECT_EQ(normalizedKey(QStringLiteral("<b>Ünï Maus</b>\n")), QStringLiteral("bünïmausb"));
    EXPECT_EQ(normalizedKey(QStringLiteral("★★★ !!")), QString());

    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const std::vector<Case> cases{
        {"Keyboard", "Magic Keyboard", true},
        {"Magic Keyboard", "keyboard", true},
        {"MAGIC-keyboard", "Magic Keyboard", true},
        {"Keyboard", "Keyboard Pro", false},
        {"Mouse", "Magic Keyboard", false},
        // A name without letters or digits would match everything by its
        // empty key; it is only the same as the very same name.
        {"★★★", "Magic Keyboard", false},
        {"★★★", "☆☆", false},
        {"★★★", "★★★", true},
        {"", "Mouse", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(isSameAccessory(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.same);
    }
}

TEST(AccessoryMerge, SymbolTableFirstRuleWins)
{
    const std::vector<std::pair<const char*, const char*>> cases{
        {"AirPods Max", "airpodsmax"},
        {"Lisa's AirPods Pro", "airpodspro"},
        {"AirPods", "airpods"},
        {"Magic Keyboard with Trackpad", "keyboard"},
        {"K380 Multi-Device Keys", "keyboard"},
        {"Magic Trackpad", "hand.point.up.left"},
        {"MX Master 3S", "computermouse"},
        {"MX Anywhere 3", "computermouse"},
        {"MXKeys", "keyboard"},
        {"Mxer", "dot.radiowaves.left.and.right"},  // "mx " needs the blank
        {"WH-1000XM4 Headphones", "headphones"},
        {"Galaxy Buds2", "headphones"},
        {"Beats Flex", "headphones"},
        {"Xbox Wireless Controller", "gamecontroller"},
        {"8BitDo Gamepad", "gamecontroller"},
        {"Stylus Pencil", "pencil"},
        {"iPhone", "iphone"},
        {"Fitness Watch", "applewatch"},
        {"Unknown Gadget", "dot.radiowaves.left.and.right"},
        {"", "dot.radiowaves.left.and.right"},
    };
    for (const auto& [name, symbol] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(symbolFor(QString::fromUtf8(name)), QString::fromLatin1(symbol));
    }
}

TEST(AccessoryMerge, EarlierListsWinAndTheResultIsSortedByName)
{
    const std::vector<AccessoryBattery> sampled{
        {"Magic Keyboard", 80, false, "keyboard"},
        {"zebra Mouse", 10, false, "computermouse"},
    };
    const std::vector<AccessoryBattery> bluetooth{
        {"Keyboard", 55, true, "keyboard"},        // same device as Magic Keyboard
        {"artist Pencil", 70, false, "pencil"},
        {"Buds", 40, false, "headphones"},
        {"Buds", 30, false, "headphones"},         // a later duplicate
    };
    const auto merged = mergeAccessories({sampled, bluetooth});
    std::vector<QString> names;
    for (const auto& accessory : merged)
        names.push_back(accessory.name);
    // Case-insensitive order: "artist" before "Buds" before "Magic".
    EXPECT_EQ(names, (std::vector<QString>{"artist Pencil", "Buds", "Magic Keyboard", "zebra Mouse"}));
    EXPECT_EQ(merged[1].percent, 40);
    EXPECT_EQ(merged[2].percent, 80);
}

TEST(AccessoryMerge, SortKeepsTheOrderOfEqualNames)
{
    std::vector<AccessoryBattery> list{
        {"mouse", 1, false, ""}, {"Keyboard", 2, false, ""}, {"Mouse", 3, false, ""}, {"mouse", 4, false, ""},
    };
    sortAccessoriesByName(list);
    std::vector<int64_t> order;
    for (const auto& accessory : list)
        order.push_back(accessory.percent);
    EXPECT_EQ(order, (std::vector<int64_t>{2, 1, 3, 4}));
}
