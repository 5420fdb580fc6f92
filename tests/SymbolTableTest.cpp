#include "core/MenuBarModule.h"
#include "samplers/AccessoryMerge.h"
#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"
#include "widget/Metric.h"

#include <QFile>
#include <QRawFont>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <set>

using namespace orbistat;

TEST(SymbolTable, EveryGlyphIsInTheEmbeddedIconFontUnderItsName)
{
    ASSERT_TRUE(registerAppFonts());
    const QRawFont font = QRawFont::fromFont(symbolFont(24));
    ASSERT_TRUE(font.isValid());
    std::set<std::string> names;
    for (const auto& entry : symbolTable) {
        SCOPED_TRACE(entry.name);
        EXPECT_TRUE(names.insert(entry.name).second) << "listed twice";
        EXPECT_TRUE(font.supportsCharacter(entry.codepoint));
        EXPECT_EQ(symbolCodepoint(QString::fromLatin1(entry.name)), entry.codepoint);
    }
    EXPECT_TRUE(font.supportsCharacter(unknownSymbolCodepoint));

    // The codepoints are the font package's own list of names.
    QFile list(QStringLiteral("/usr/share/fonts-material-design-icons-iconfont/scss/_variables.scss"));
    if (!list.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "the icon font's name list is not installed";
    const QString text = QString::fromUtf8(list.readAll());
    for (const auto& entry : symbolTable) {
        SCOPED_TRACE(entry.name);
        const QRegularExpression line(QStringLiteral("\"%1\": ([0-9a-f]+),").arg(QLatin1String(entry.materialName)));
        const auto match = line.match(text);
        ASSERT_TRUE(match.hasMatch());
        EXPECT_EQ(match.captured(1).toUInt(nullptr, 16), entry.codepoint);
    }
}

TEST(SymbolTable, CoversEverySymbolTheProgramsDrawAndNeverDrawsAName)
{
    QStringList used{"gauge.with.dots.needle.33percent", "dot.radiowaves.left.and.right", "laptopcomputer",
                     "battery.100percent.bolt", "battery.75percent", "arrow.up.arrow.down", "arrow.down", "arrow.up",
                     "thermometer.medium", "cpu", "memorychip", "internaldrive", "display"};
    // Popover cards, header and settings tabs.
    used << "network" << "wifi" << "wifi.slash" << "cable.connector" << "battery.0percent" << "battery.25percent"
         << "battery.50percent" << "battery.100percent" << "bolt.fill" << "earbuds.case" << "ellipsis.circle"
         << "gauge.with.dots.needle.50percent" << "gearshape" << "menubar.rectangle" << "rectangle.stack"
         << "bell.badge" << "chevron.down" << "chevron.up";
    for (const auto& module : menuBarModuleTable)
        used << QString::fromLatin1(module.symbol);
    for (const char* name : {"AirPods Max", "AirPods Pro", "AirPods", "Keychron keys", "Magic Trackpad", "MX Master 3",
                             "Sony headset", "Xbox Controller", "Drawing pencil", "iPhone", "Fitness watch", "Gizmo"})
        used << symbolFor(QString::fromLatin1(name));
    for (const auto& symbol : used) {
        SCOPED_TRACE(symbol.toStdString());
        EXPECT_TRUE(symbolCodepoint(symbol).has_value());
    }

    const char32_t unknown = unknownSymbolCodepoint;
    EXPECT_EQ(symbolGlyphText(QStringLiteral("<b>no such symbol</b>")), QString::fromUcs4(&unknown, 1));
    EXPECT_EQ(symbolGlyphText(QStringLiteral("CPU")), QString::fromUcs4(&unknown, 1));  // exact names only
}
