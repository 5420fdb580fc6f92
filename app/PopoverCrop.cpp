#include "app/PopoverCrop.h"

#include <cmath>
#include <cstdlib>

namespace orbistat {

QImage cropPopover(const QImage& image, double marginPoints)
{
    if (image.isNull() || image.width() < 2 || image.height() < 2)
        return image;
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = plain.pixel(1, plain.height() - 2);
    const auto differs = [background](QRgb pixel) {
        const int sum = std::abs(qRed(pixel) - qRed(background)) + std::abs(qGreen(pixel) - qGreen(background))
            + std::abs(qBlue(pixel) - qBlue(background));
        return sum / 255.0 > 0.02;
    };
    int contentRow = 0;
    for (int y = plain.height() - 1; y >= 0 && contentRow == 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        for (int x = 0; x < plain.width(); x += 3) {
            if (differs(row[x])) {
                contentRow = y;
                break;
            }
        }
    }
    const int height = contentRow + static_cast<int>(std::lround(marginPoints * image.devicePixelRatio()));
    if (height < 1 || height >= image.height())
        return image;
    QImage cropped = image.copy(0, 0, image.width(), height);
    cropped.setDevicePixelRatio(image.devicePixelRatio());
    return cropped;
}

} // namespace orbistat
