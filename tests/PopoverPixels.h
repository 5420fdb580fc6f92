// Colour checks on rendered pictures: what a translucent colour looks like
// over the background, and whether a pixel shows it.
#pragma once

#include "ui/components/ColorRole.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <cstdlib>
#include <gtest/gtest.h>

namespace orbistat::test {

inline ::testing::AssertionResult pixelIs(const QImage& image, QPoint pixel, const QColor& expected, int tolerance = 3)
{
    if (!image.rect().contains(pixel))
        return ::testing::AssertionFailure() << "pixel " << pixel.x() << "," << pixel.y() << " outside the picture";
    const QColor actual = image.pixelColor(pixel);
    const bool close = std::abs(actual.red() - expected.red()) <= tolerance &&
                       std::abs(actual.green() - expected.green()) <= tolerance &&
                       std::abs(actual.blue() - expected.blue()) <= tolerance;
    if (close)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << pixel.x() << "," << pixel.y() << " is " << actual.name().toStdString()
                                         << ", expected " << expected.name().toStdString();
}

// A colour seen over an opaque background.
inline QColor seenOver(const QColor& background, const QColor& color)
{
    return ui::over(background, color);
}

} // namespace orbistat::test
