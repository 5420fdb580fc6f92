// How the popover writes numbers, and the severity colour of a fraction.
#include "PopoverFixture.h"
#include "ui/components/SeverityColor.h"
#include "ui/components/ValueText.h"

#include <gtest/gtest.h>
#include <limits>

using namespace orbistat;
using namespace orbistat::ui;

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
} // namespace

TEST(PopoverText, NumbersAreRoundedHalfAwayFromZeroAndNeverGarbage)
{
    struct Case {
        double value;
        const char* temperature;
        const char* rpm;
    };
    const Case cases[] = {
        {52.4, "52°C", "52 rpm"},     {52.5, "53°C", "53 rpm"},   {1849.6, "1850°C", "1850 rpm"},
        {-0.4, "0°C", "0 rpm"},       {-2.5, "-3°C", "-3 rpm"},   {notANumber, "–°C", "– rpm"},
        {inf, "–°C", "– rpm"},        {1e20, "100000000000000000000°C", "100000000000000000000 rpm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(temperatureText(c.value), QString::fromUtf8(c.temperature));
        EXPECT_EQ(rpmText(c.value), QString::fromUtf8(c.rpm));
    }
}

TEST(PopoverText, RatesUseDecimalUnitsAndReadNothingMovingForNonsense)
{
    struct Case {
        double rate;
        const char* text;
    };
    const Case cases[] = {
        {2400000.0, "2.4 MB/s"}, {180000.0, "180 KB/s"}, {999.9, "999 bytes/s"}, {0.0, "Zero KB/s"},
        {-5.0, "Zero KB/s"},     {notANumber, "Zero KB/s"},      {-inf, "Zero KB/s"},   {inf, "18.45 EB/s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(bytesPerSecondText(c.rate), QString::fromUtf8(c.text));
    }
}

TEST(PopoverText, DurationsAndWatts)
{
    const std::pair<int64_t, const char*> durations[] = {{0, "0m"}, {45, "45m"}, {59, "59m"}, {60, "1h 0m"}, {125, "2h 5m"}, {410, "6h 50m"}};
    for (const auto& [minutes, text] : durations)
        EXPECT_EQ(durationText(minutes), QString::fromLatin1(text)) << minutes;
    EXPECT_EQ(wattsText(6.2), QStringLiteral("6.2 W"));
    EXPECT_EQ(wattsText(0.04), QStringLiteral("0.0 W"));
    EXPECT_EQ(wattsText(0.25), QStringLiteral("0.2 W"));  // a tie to the even digit, as printf
    EXPECT_EQ(wattsText(notANumber), QStringLiteral("– W"));
}

TEST(PopoverText, SeverityColourReadsBothThresholdsAtEveryCall)
{
    test::PopoverFixture fixture;
    struct Case {
        double fraction;
        ColorRole color;
    };
    const Case defaults[] = {{0.9, ColorRole::red},   {0.95, ColorRole::red},   {0.75, ColorRole::orange},
                             {0.74, ColorRole::accent}, {notANumber, ColorRole::accent}, {inf, ColorRole::red}};
    for (const auto& c : defaults)
        EXPECT_EQ(severityColor(c.fraction, fixture.settings), c.color) << c.fraction;

    // A change in the settings window counts at the next call.
    fixture.settings.setValue(SettingsKey::warningThreshold, 0.5);
    fixture.settings.setValue(SettingsKey::criticalThreshold, 0.6);
    EXPECT_EQ(severityColor(0.55, fixture.settings), ColorRole::orange);
    EXPECT_EQ(severityColor(0.74, fixture.settings), ColorRole::red);
}
