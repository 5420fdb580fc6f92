#include "TestPaths.h"
#include "app/CommandLine.h"
#include "app/ExportLog.h"
#include "app/ExportWatchdog.h"
#include "app/PopoverCrop.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace orbistat;

namespace {

// A 2× popover picture on the dark background with content down to a row.
QImage popoverWithContentEndingAt(int lastContentRow, int height = 4000)
{
    QImage image(680, height, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(QColor(43, 43, 43));  // white level 0.17
    for (int y = 20; y <= lastContentRow; y += 7)
        image.setPixelColor(300, y, Qt::white);
    image.setPixelColor(300, lastContentRow, Qt::white);
    return image;
}

QStringList lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST(PopoverCrop, KeepsTheContentAndAMarginOfTwelvePoints)
{
    // Content ending 300 points from the top: 312 points, 624 pixels.
    const QImage cropped = cropPopover(popoverWithContentEndingAt(600), 12.0);
    EXPECT_EQ(cropped.height(), 624);
    EXPECT_EQ(cropped.width(), 680);
    EXPECT_EQ(cropped.devicePixelRatio(), 2.0);
    EXPECT_EQ(cropped.height() / cropped.devicePixelRatio(), 312.0);

    // A difference of 0.02 or less in the sum of red, green and blue is background.
    QImage faint = popoverWithContentEndingAt(600);
    faint.setPixelColor(300, 1500, QColor(44, 44, 44));  // 3/255 in all
    EXPECT_EQ(cropPopover(faint, 12.0).height(), 624);
    faint.setPixelColor(300, 1500, QColor(49, 43, 43));  // 6/255
    EXPECT_EQ(cropPopover(faint, 12.0).height(), 1524);

    // Only every third column is looked at.
    QImage offColumn = popoverWithContentEndingAt(600);
    offColumn.setPixelColor(301, 2000, Qt::white);
    EXPECT_EQ(cropPopover(offColumn, 12.0).height(), 624);

    // Content to the bottom, or none at all: kept whole or cut to the margin.
    EXPECT_EQ(cropPopover(popoverWithContentEndingAt(3999), 12.0).height(), 4000);
    QImage empty(680, 4000, QImage::Format_ARGB32_Premultiplied);
    empty.setDevicePixelRatio(2.0);
    empty.fill(Qt::white);
    EXPECT_EQ(cropPopover(empty, 12.0).height(), 24);
    EXPECT_TRUE(cropPopover(QImage(), 12.0).isNull());
}

TEST(ExportLog, WritesEachLineToStandardErrorAndTheLogFileAndRestartsIt)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a/b"));
    char buffer[512] = {};
    std::FILE* errors = fmemopen(buffer, sizeof buffer, "w");
    ExportLog log(folder, errors);
    log.log(QStringLiteral("avvio, cartella: x"), true);
    log.log(QStringLiteral("finito"));
    std::fclose(errors);
    EXPECT_STREQ(buffer, "   [export] avvio, cartella: x\n   [export] finito\n");
    const QString file = QDir(folder).filePath(QStringLiteral("export.log"));
    EXPECT_EQ(lines(file), (QStringList{QStringLiteral("avvio, cartella: x"), QStringLiteral("finito")}));
    ExportLog(folder, nullptr).log(QStringLiteral("di nuovo"), true);
    EXPECT_EQ(lines(file), QStringList{QStringLiteral("di nuovo")});

    // A link in place of the log is not followed.
    QFile target(dir.filePath(QStringLiteral("elsewhere")));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.close();
    QFile::remove(file);
    ASSERT_TRUE(QFile::link(target.fileName(), file));
    ExportLog(folder, nullptr).log(QStringLiteral("x"), true);
    ExportLog(folder, nullptr).log(QStringLiteral("y"));
    EXPECT_EQ(QFileInfo(target.fileName()).size(), 0);
}

TEST(ExportWatchdog, FiresOnlyWhenTheExportOutlivesItsLimit)
{
    std::atomic<int> fired{0};
    {
        ExportWatchdog watchdog(std::chrono::milliseconds(50), [&] { ++fired; });
        // The main thread hangs in a rendering.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_EQ(fired, 1);
    {
        ExportWatchdog watchdog(std::chrono::milliseconds(200), [&] { ++fired; });
        watchdog.disarm();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_EQ(fired, 1) << "disarmed in time";
    EXPECT_EQ(ExportWatchdog::exportLimit, std::chrono::seconds(90));
}

namespace {

struct ExportRun {
    int exitCode = -1;
    QByteArray err;
};

ExportRun runExport(const QStringList& arguments, const QString& home)
{
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");  // the program must pick offscreen itself
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/config");
    environment.insert("XDG_RUNTIME_DIR", home);
    process.setProcessEnvironment(environment);
    process.start(test::orbistatBinary(), arguments);
    if (!process.waitForFinished(100000))
        process.kill();
    return {process.exitCode(), process.readAllStandardError()};
}

} // namespace

TEST(ScreenshotExportProgram, RendersWithoutADisplayAndLogsEveryStep)
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("shots/new"));
    const auto run = runExport({QStringLiteral("-exportScreenshots"), folder}, home.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList log = lines(QDir(folder).filePath(QStringLiteral("export.log")));
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.front(), QStringLiteral("avvio, cartella: ") + folder);
    EXPECT_EQ(log.back(), QStringLiteral("finito"));
    EXPECT_EQ(log.at(1), QStringLiteral("creo il monitor"));
    EXPECT_EQ(log.at(2), QStringLiteral("dati di esempio caricati"));
    EXPECT_EQ(log.at(3), QStringLiteral("light: popover"));
    EXPECT_TRUE(log.contains(QStringLiteral("dark: impostazioni alerts")));
    // Standard error carries the same lines.
    EXPECT_TRUE(run.err.startsWith("   [export] avvio, cartella: "));
    EXPECT_TRUE(run.err.endsWith("   [export] finito\n"));
    EXPECT_FALSE(run.err.contains("XDG_RUNTIME_DIR"));

    for (const char* style : {"inline", "stacked", "graph"}) {
        for (const char* appearance : {"light", "dark"}) {
            const QString name = QStringLiteral("menubar-%1-%2").arg(style, appearance);
            SCOPED_TRACE(name.toStdString());
            EXPECT_TRUE(log.contains(QStringLiteral("salvato ") + name + QStringLiteral(".png")));
            const QImage image(QDir(folder).filePath(name + QStringLiteral(".png")));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.height(), 44) << "22 points at 2×";
        }
    }
    for (const char* tab : {"general", "menuBar", "popover", "alerts"}) {
        for (const char* appearance : {"light", "dark"}) {
            const QString name = QStringLiteral("settings-%1-%2").arg(tab, appearance);
            SCOPED_TRACE(name.toStdString());
            EXPECT_TRUE(log.contains(QStringLiteral("salvato ") + name + QStringLiteral(".png")));
            EXPECT_EQ(QImage(QDir(folder).filePath(name + QStringLiteral(".png"))).size(), QSize(1040, 1000));
        }
    }
    for (const char* appearance : {"light", "dark"}) {
        const QString name = QStringLiteral("popover-%1").arg(appearance);
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(log.contains(QStringLiteral("%1: popover disegnato, ritaglio").arg(appearance)));
        const QImage image(QDir(folder).filePath(name + QStringLiteral(".png")));
        EXPECT_EQ(image.width(), 680);
        EXPECT_GT(image.height(), 100);
        EXPECT_LT(image.height(), 4000) << "cropped below the last card";
    }
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files).size(), 16);
    // Nothing but the log on standard error (no platform notes).
    for (const auto& line : run.err.split('\n')) {
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.startsWith("   [export] ")) << line.toStdString();
        }
    }
}

TEST(ScreenshotExportProgram, AFolderThatCannotBeWrittenIsLoggedAndStillEndsWithFinito)
{
    QTemporaryDir home;
    // A file where the folder should be: nothing can be created below it.
    QFile blocker(home.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = home.filePath(QStringLiteral("blocked/shots"));
    const auto run = runExport({QStringLiteral("-exportScreenshots"), folder}, home.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("   [export] ERRORE scrittura menubar-inline-light: ")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith("   [export] finito\n"));
}

TEST(ScreenshotExportProgram, AsTheLastArgumentItStartsTheNormalProgram)
{
    const auto line = parseCommandLine({"orbistat", "--print", "-exportScreenshots"});
    ASSERT_TRUE(line);
    EXPECT_FALSE(line->exportFolder);
    const auto first = parseCommandLine({"orbistat", "-exportScreenshots", "a", "-exportScreenshots", "b"});
    ASSERT_TRUE(first && first->exportFolder);
    EXPECT_EQ(*first->exportFolder, QStringLiteral("a"));
}
