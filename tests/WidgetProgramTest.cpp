#include "TestPaths.h"
#include "doubles/WidgetStoreEnvironment.h"
#include "shared/SharedStatsStore.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

int runWidget(const QStringList& arguments, QString* errors = nullptr)
{
    QProcess process;
    process.setProgram(QString::fromLocal8Bit(test::orbistatWidgetBinary()));
    process.setArguments(arguments);
    process.start();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST(WidgetProgram, RendersTheStoredSnapshotOrTheSampleToAPng)
{
    test::WidgetStoreEnvironment store;
    QTemporaryDir out;
    SharedStats stats;
    stats.cpu = 0.95;  // red
    stats.updated = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(saveSharedStats(stats));

    const QString live = out.filePath(QStringLiteral("live.png"));
    ASSERT_EQ(runWidget({"--render", live, "--kind", "stats", "--family", "large"}), 0);
    const QImage image(live);
    ASSERT_EQ(image.size(), QSize(728, 764));  // twice the large widget's points

    // The CPU row's bar (first of four rows) is red across its whole fill.
    bool red = false;
    for (int x = 600; x < 728 && !red; ++x) {
        const QColor c = image.pixelColor(x, 16 * 2 + 43 * 2);
        red = c.red() > 240 && c.green() < 80 && c.blue() < 80;
    }
    EXPECT_TRUE(red);

    const QString sample = out.filePath(QStringLiteral("sample.png"));
    ASSERT_EQ(runWidget({"--render", sample, "--kind", "devices", "--family", "small", "--preview", "--dark"}), 0);
    EXPECT_EQ(QImage(sample).size(), QSize(340, 340));

    // The widget program reads the store and leaves it as it was.
    EXPECT_EQ(loadSharedStats(), stats);

    QString errors;
    EXPECT_EQ(runWidget({"--render", out.filePath(QStringLiteral("x.png")), "--kind", "clock"}, &errors), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("--kind")));
    EXPECT_EQ(runWidget({"--render", QStringLiteral("/nonexistent-dir/x.png")}), 1);
}
