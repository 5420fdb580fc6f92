// The views' light and dark palettes and their off-screen rendering.
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace orbistat;

TEST(UiRender, RendersAtTwicePointSizeWithTheAppearanceBackground)
{
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(appearance == Appearance::dark ? "dark" : "light");
        QWidget view;
        ui::applyAppearance(view, appearance);
        auto* layout = new QVBoxLayout(&view);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(QStringLiteral("CPU"));
        label->setFont(ui::uiFont(20, QFont::Bold));
        layout->addWidget(label, 0, Qt::AlignTop | Qt::AlignLeft);

        const QImage image = ui::renderWidget(view, QSize(100, 50));
        EXPECT_EQ(image.size(), QSize(200, 100));
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), 2.0);
        EXPECT_EQ(ui::appearanceOf(view), appearance);
        // A corner far from the text shows the window background.
        EXPECT_EQ(image.pixelColor(190, 90).rgb(), ui::windowBackground(appearance).rgb());
        // The label was laid out at the top left, so its text reached the
        // image: some pixel of the first 30 rows differs from the background.
        bool inked = false;
        for (int y = 0; y < 30 && !inked; ++y)
            for (int x = 0; x < 60 && !inked; ++x)
                inked = image.pixelColor(x, y).rgb() != ui::windowBackground(appearance).rgb();
        EXPECT_TRUE(inked);
        EXPECT_FALSE(view.isVisible());
    }
}

TEST(UiRender, FontsAreSizedInLogicalPixels)
{
    EXPECT_EQ(ui::uiFont(13).pixelSize(), 13);
    EXPECT_EQ(ui::uiSymbolFont(15).pixelSize(), 15);
    EXPECT_EQ(ui::uiFont(11, QFont::DemiBold).weight(), QFont::DemiBold);
}
