// The whole popover from the demo values, light and dark, compared with
// pictures checked by eye (tests/fixtures/golden). A small tolerance absorbs
// antialiasing noise; a real change fails and leaves the new picture and a
// difference picture (changed pixels in red) in the temporary folder. With
// ORBISTAT_UPDATE_GOLDEN=1 the test writes new reference pictures instead,
// to be looked at before they are committed.
#include "PopoverFixture.h"
#include "TestPaths.h"
#include "ui/OffscreenRender.h"
#include "ui/popover/PopoverRender.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>

using namespace orbistat;

namespace {

// Channel differences up to this are noise.
constexpr int channelTolerance = 16;
// At most this share of pixels (about 65 of the 2.2 million) may differ by
// more: a changed word or a moved edge is far more.
constexpr double changedShare = 0.00003;

struct Comparison {
    int changed = 0;
    QImage difference;
};

Comparison compare(const QImage& expected, const QImage& actual)
{
    Comparison result;
    const QImage a = expected.convertToFormat(QImage::Format_ARGB32);
    const QImage b = actual.convertToFormat(QImage::Format_ARGB32);
    result.difference = QImage(a.size(), QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.difference.scanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d = std::max({std::abs(qRed(rowA[x]) - qRed(rowB[x])), std::abs(qGreen(rowA[x]) - qGreen(rowB[x])),
                                    std::abs(qBlue(rowA[x]) - qBlue(rowB[x])), std::abs(qAlpha(rowA[x]) - qAlpha(rowB[x]))});
            const bool changed = d > channelTolerance;
            result.changed += changed ? 1 : 0;
            // Changed pixels in red over a faded copy of the expected picture.
            const int grey = 200 + qGray(rowA[x]) / 5;
            out[x] = changed ? qRgb(255, 0, 0) : qRgb(grey, grey, grey);
        }
    }
    return result;
}

void checkGolden(Appearance appearance, const char* name)
{
    test::PopoverFixture fixture;
    const QImage actual = ui::renderPopover(fixture.monitor, fixture.settings, appearance, 0, 2.0);
    ASSERT_FALSE(actual.isNull());
    const QString goldenPath = QString::fromStdString(test::fixture(std::string("golden/") + name));
    if (qEnvironmentVariableIntValue("ORBISTAT_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(goldenPath).absolutePath());
        ASSERT_TRUE(ui::savePng(actual, goldenPath));
        GTEST_SKIP() << "wrote " << goldenPath.toStdString();
    }
    const QImage golden(goldenPath);
    ASSERT_FALSE(golden.isNull()) << "missing " << goldenPath.toStdString();

    const QString outDir = QDir::tempPath() + QStringLiteral("/orbistat-golden");
    const QString actualPath = outDir + QLatin1Char('/') + QString::fromLatin1(name);
    const QString diffPath = outDir + QStringLiteral("/diff-") + QString::fromLatin1(name);
    if (golden.size() != actual.size()) {
        QDir().mkpath(outDir);
        ui::savePng(actual, actualPath);
        FAIL() << "size " << actual.width() << "x" << actual.height() << " instead of " << golden.width() << "x" << golden.height()
               << "; new picture in " << actualPath.toStdString();
    }
    const Comparison result = compare(golden, actual);
    const int allowed = static_cast<int>(changedShare * golden.width() * golden.height());
    if (result.changed > allowed) {
        QDir().mkpath(outDir);
        ui::savePng(actual, actualPath);
        ui::savePng(result.difference, diffPath);
        ADD_FAILURE() << result.changed << " pixels changed (at most " << allowed << " allowed); new picture in "
                      << actualPath.toStdString() << ", differences in " << diffPath.toStdString();
    }
}

} // namespace

TEST(PopoverGolden, LightFromTheDemoValues)
{
    checkGolden(Appearance::light, "popover-light.png");
}

TEST(PopoverGolden, DarkFromTheDemoValues)
{
    checkGolden(Appearance::dark, "popover-dark.png");
}
