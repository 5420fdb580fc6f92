#include "app/TrayImage.h"
#include "app/TrayImageCache.h"
#include "app/TrayAppearance.h"
#include "menubar/MenuBarRenderer.h"

#include <gtest/gtest.h>
#include <optional>

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

TEST(TrayImage, DifferingPixelsAreBoundedAndConvertedAlone)
{
    QImage before(9, 5, QImage::Format_ARGB32_Premultiplied);
    before.fill(Qt::transparent);
    before.setPixel(4, 2, qRgba(40, 40, 40, 80));
    struct Change {
        const char* what;
        std::vector<QPoint> pixels;
        QRect expected;
    };
    const Change changes[] = {
        {"nothing", {}, QRect()},
        {"one corner", {{8, 4}}, QRect(8, 4, 1, 1)},
        {"two far apart", {{0, 3}, {7, 1}}, QRect(QPoint(0, 1), QPoint(7, 3))},
        {"the first row's right end and a later row's left", {{8, 0}, {1, 4}}, QRect(QPoint(1, 0), QPoint(8, 4))},
        {"the pixel that was drawn", {{4, 2}}, QRect(4, 2, 1, 1)},
    };
    const StatusPixmap old = toStatusPixmap(before);
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        QImage after = before.copy();
        for (const auto& p : change.pixels)
            after.setPixel(p, qRgba(200, 10, 10, 255));
        const QRect area = differingPixels(after, before);
        EXPECT_EQ(area, change.expected);
        // The area alone, converted into the old pixmap, gives the new one.
        StatusPixmap pixmap = old;
        convertPixels(after, area, pixmap);
        EXPECT_EQ(pixmap, toStatusPixmap(after));
        EXPECT_EQ(samePixels(pixmap, old, area), change.pixels.empty());
    }
    EXPECT_EQ(differingPixels(before, QImage()), before.rect()) << "no earlier image";
    EXPECT_EQ(differingPixels(before, before.copy(0, 0, 9, 4)), before.rect()) << "another size";
    StatusPixmap small = toStatusPixmap(before.copy(0, 0, 3, 3));
    convertPixels(before, QRect(0, 0, 1, 1), small);
    EXPECT_EQ(small, old) << "a pixmap of another size is made anew";
}

TEST(TrayImageCache, HandsOnThePixelsOfTheLatestInputsTickAfterTick)
{
    // Only changed pixels are converted, into pixmaps handed on earlier:
    // after any run of changes (values, severities, modules coming and
    // going, styles, no items at all) what was handed on last is exactly
    // the conversion of the current drawing, and a tick that hands nothing
    // on is one whose pixels did not change.
    TrayImageCache cache;
    std::optional<std::vector<StatusPixmap>> shown;
    for (int tick = 0; tick < 240; ++tick) {
        TrayImageInputs inputs;
        const int phase = (tick / 40) % 6;
        if (phase != 5) {
            inputs.items.push_back({QStringLiteral("CPU"), {MenuBarRenderer::percentText((tick * 7 % 13) / 100.0)},
                                    tick % 11 == 0 ? MenuBarSeverity::critical : MenuBarSeverity::normal, {}, 0.1, QStringLiteral("100%")});
            for (int i = 0; i < tick % 30; ++i)
                inputs.items[0].history.push_back((tick * 13 + i * 7) % 10 / 10.0);
        }
        if (phase == 1 || phase == 3 || (phase == 4 && tick % 3 == 0))
            inputs.items.push_back({QStringLiteral("RAM"), {MenuBarRenderer::percentText(0.4 + tick / 20 / 100.0)}, MenuBarSeverity::normal,
                                    {}, 0.4, QStringLiteral("100%")});
        inputs.style = static_cast<MenuBarStyle>((tick / 20) % 3);
        inputs.colorize = tick % 50 < 25;
        inputs.appearance = tick % 80 < 40 ? Appearance::light : Appearance::dark;
        SCOPED_TRACE("tick " + std::to_string(tick) + ": " + MenuBarRenderer::accessibilityText(inputs.items).toStdString());

        std::vector<StatusPixmap> expected;
        for (const double ratio : {1.0, 2.0}) {
            expected.push_back(toStatusPixmap(inputs.items.empty()
                                                  ? programSymbolImage(inputs.appearance, ratio)
                                                  : MenuBarRenderer::render(inputs.items, inputs.style, inputs.colorize, inputs.appearance,
                                                                            ratio, MenuBarRenderer::TextDrawing::direct)));
        }
        if (auto sizes = cache.update(inputs)) {
            ASSERT_TRUE(!shown || *shown != *sizes) << "the same pixels handed on again";
            shown = std::move(sizes);
        }
        ASSERT_TRUE(shown);
        ASSERT_EQ(*shown, expected);
    }
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
