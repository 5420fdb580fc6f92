#include "app/PopoverGeometry.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace orbistat;

TEST(PopoverGeometry, HeightIsTheAvailableHeightLessThirtyRoundedAndAtLeast480)
{
    const struct {
        std::optional<double> available;
        int height;
    } cases[] = {
        {400.0, 480},          // a small screen: the floor
        {1000.0, 970},
        {510.0, 480},
        {510.6, 481},          // rounded to the nearest point
        {1049.4, 1019},
        {std::nullopt, 870},   // no screen to measure
        {std::nan(""), 870},   // a screen that reports nonsense
        {-50.0, 480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.available ? *c.available : -1.0);
        EXPECT_EQ(PopoverGeometry::size(c.available), QSize(340, c.height));
    }
}

TEST(PopoverGeometry, OpensAtTheClickKeptInsideTheAvailableArea)
{
    // A 1280 × 800 screen with a 32-point panel at the top.
    const QRect available(0, 32, 1280, 768);
    const QSize size(340, 738);
    const struct {
        QPoint click;
        QPoint expected;
    } cases[] = {
        {{300, 50}, {300, 50}},      // room everywhere
        {{1250, 16}, {940, 32}},     // an item at the top right: below the panel, inside the right edge
        {{10, 790}, {10, 62}},       // a bottom panel: pushed up to end at the bottom edge
        {{-40, 40}, {0, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.click.x());
        EXPECT_EQ(PopoverGeometry::position(c.click, size, available), c.expected);
    }
    // A second screen to the right: coordinates are the desktop's.
    EXPECT_EQ(PopoverGeometry::position({3000, 0}, size, QRect(1280, 0, 1920, 1080)), QPoint(2860, 0));
    // Taller than the area: the top stays visible.
    EXPECT_EQ(PopoverGeometry::position({100, 100}, QSize(340, 900), available), QPoint(100, 32));
}
