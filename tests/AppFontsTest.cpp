#include "shared/drawing/AppFonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <gtest/gtest.h>

using namespace orbistat;

TEST(AppFonts, EmbeddedFontsLoadAndTextDigitsShareOneAdvance)
{
    ASSERT_TRUE(registerAppFonts());
    for (const auto weight : {QFont::Normal, QFont::Bold}) {
        const QFont font = textFont(12, weight);
        EXPECT_EQ(QFontInfo(font).family(), textFontFamily());
        const QFontMetricsF metrics(font);
        const double advance = metrics.horizontalAdvance(QLatin1Char('0'));
        for (char digit = '1'; digit <= '9'; ++digit)
            EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char(digit)), advance) << digit << " weight " << weight;
    }
    EXPECT_EQ(QFontInfo(symbolFont(12)).family(), symbolFontFamily());
}
