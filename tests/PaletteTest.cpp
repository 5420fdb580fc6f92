#include "shared/drawing/Palette.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(Palette, EachAppearanceKeepsItsTextReadableAndItsAlertColoursDistinct)
{
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(appearance == Appearance::dark ? "dark" : "light");
        const auto& colours = palette(appearance);
        // Text on the matching background: dark text for light surroundings.
        const double labelLightness = colours.label.toHsl().lightnessF();
        EXPECT_EQ(labelLightness < 0.5, appearance == Appearance::light);
        // The weaker label levels really are weaker.
        EXPECT_GT(colours.label.alphaF(), colours.secondaryLabel.alphaF());
        EXPECT_GT(colours.secondaryLabel.alphaF(), colours.tertiaryLabel.alphaF());
        EXPECT_GT(colours.tertiaryLabel.alphaF(), colours.quaternaryLabel.alphaF());
        EXPECT_NE(colours.red.rgb(), colours.orange.rgb());
        EXPECT_GT(colours.red.red(), colours.red.green());
        EXPECT_GT(colours.orange.red(), colours.orange.blue());
    }
    EXPECT_FALSE(palette(Appearance::light) == palette(Appearance::dark));
}

TEST(Palette, AppearanceFollowsTheBackgroundAndAlphaIsReplacedNotMultiplied)
{
    EXPECT_EQ(appearanceFor(QColor(20, 20, 24)), Appearance::dark);
    EXPECT_EQ(appearanceFor(QColor(240, 240, 240)), Appearance::light);
    const QColor half = withAlpha(palette(Appearance::light).label, 0.6);
    EXPECT_NEAR(half.alphaF(), 0.6, 1.0 / 255);
    EXPECT_EQ(half.rgb() & 0xFFFFFF, palette(Appearance::light).label.rgb() & 0xFFFFFF);
}
