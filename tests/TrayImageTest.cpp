#include "app/TrayImage.h"
#include "app/TrayImageCache.h"
#include "app/TrayAppearance.h"
#include "menubar/MenuBarRenderer.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(TrayImage, PixelsTravelAsUnpremultipliedArgbInNetworkOrder)
{
    QImage image(2, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixelColor(0, 0, QColor(0x12, 0x34, 0x56, 0xff));
    image.setPixelColor(1, 0, QColor(200, 100, 50, 128));
    const StatusPixmap pixmap = toStatusPixmap(image);
    ASSERT_EQ(pixmap.width, 2);
    ASSERT_EQ(pixmap.height, 1);
    ASSERT_EQ(pixmap.argb.size(), 8);
    const auto* b = reinterpret_cast<const unsigned char*>(pixmap.argb.constData());
    EXPECT_EQ((std::vector<int>{b[0], b[1], b[2], b[3]}), (std::vector<int>{0xff, 0x12, 0x34, 0x56}));
    EXPECT_EQ(b[4], 128);
    // Premultiplied storage rounds; unpremultiplied it is the colour again.
    EXPECT_NEAR(b[5], 200, 2);
    EXPECT_NEAR(b[6], 100, 2);
    EXPECT_NEAR(b[7], 50, 2);
    EXPECT_EQ(toStatusPixmap(QImage()), StatusPixmap{});
}

TEST(TrayImage, TheProgramSymbolIsASquareInTheLabelColour)
{
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        const QImage image = programSymbolImage(appearance, 2.0);
        EXPECT_EQ(image.size(), QSize(44, 44));
        int ink = 0;
        QColor strongest;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                ink += c.alpha() > 0;
                if (!strongest.isValid() || c.alpha() > strongest.alpha())
                    strongest = c;
            }
        }
        EXPECT_GT(ink, 100) << "the gauge is drawn";
        const QColor label = palette(appearance).label;
        EXPECT_NEAR(strongest.red(), label.red(), 3);
        EXPECT_NEAR(strongest.green(), label.green(), 3);
    }
}

TEST(TrayImageCache, DrawsOnlyWhenAnInputChangedAndHandsOnOnlyNewPixels)
{
    TrayImageCache cache;
    TrayImageInputs inputs;
    inputs.items = {{QStringLiteral("CPU"), {QStringLiteral("34%")}, MenuBarSeverity::normal, {}, 0.34, QStringLiteral("100%")}};
    inputs.appearance = Appearance::dark;

    const auto first = cache.update(inputs);
    ASSERT_TRUE(first);
    ASSERT_EQ(first->size(), 2u);
    EXPECT_EQ((*first)[1].width, 2 * (*first)[0].width);
    EXPECT_EQ(cache.drawings(), 1);

    EXPECT_FALSE(cache.update(inputs)) << "same inputs: no drawing, nothing to send";
    EXPECT_EQ(cache.drawings(), 1);

    // A fraction that moved and a history that grew: the inline style draws
    // neither, so nothing is drawn.
    auto moved = inputs;
    moved.items[0].fraction = 0.341;
    moved.items[0].history = {0.3, 0.341};
    EXPECT_FALSE(cache.update(moved));
    EXPECT_EQ(cache.drawings(), 1);

    // Colouring switched off while every value is normal: drawn again, the
    // same pixels, not sent.
    auto plain = moved;
    plain.colorize = false;
    EXPECT_FALSE(cache.update(plain));
    EXPECT_EQ(cache.drawings(), 2);
    moved = plain;

    // The graph draws the history: a new newest point is a new image.
    auto graph = moved;
    graph.style = MenuBarStyle::graph;
    EXPECT_TRUE(cache.update(graph));
    graph.items[0].history.push_back(0.9);
    EXPECT_TRUE(cache.update(graph));
    EXPECT_EQ(cache.drawings(), 4);

    auto hotter = moved;
    hotter.items[0].lines = {QStringLiteral("95%")};
    hotter.items[0].severity = MenuBarSeverity::critical;
    EXPECT_TRUE(cache.update(hotter));

    auto stacked = hotter;
    stacked.style = MenuBarStyle::stacked;
    const auto stackedImage = cache.update(stacked);
    ASSERT_TRUE(stackedImage);

    // No items: the program symbol, square.
    const auto symbol = cache.update(TrayImageInputs{});
    ASSERT_TRUE(symbol);
    EXPECT_EQ((*symbol)[0].width, (*symbol)[0].height);
}

TEST(TrayAppearance, TheOverrideThenDarkTopBarsThenTheDesktopScheme)
{
    const struct {
        const char* override;
        const char* desktop;
        Appearance scheme;
        Appearance expected;
    } cases[] = {
        {"", "KDE", Appearance::light, Appearance::light},
        {"", "KDE", Appearance::dark, Appearance::dark},
        {"", "ubuntu:GNOME", Appearance::light, Appearance::dark},
        {"", "gnome", Appearance::light, Appearance::dark},
        {"", "GNOME-Flashback:GNOME", Appearance::light, Appearance::dark},
        {"", "", Appearance::light, Appearance::light},
        {"light", "GNOME", Appearance::dark, Appearance::light},
        {"Dark", "KDE", Appearance::light, Appearance::dark},
        {"purple", "KDE", Appearance::light, Appearance::light},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.override) + "/" + c.desktop);
        EXPECT_EQ(trayAppearance(QString::fromLatin1(c.override), QString::fromLatin1(c.desktop), c.scheme), c.expected);
    }
}
