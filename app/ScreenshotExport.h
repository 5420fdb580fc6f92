// The screenshot export: with fixed demo data, renders the popover, the
// tray image in its three styles and the four settings tabs, each in light
// and dark, as 2× PNG files into a folder, logging every step (in Italian,
// fixed texts) to standard error and FOLDER/export.log. Runs without a
// display on the offscreen platform.
#pragma once

#include "app/ExportLog.h"
#include "shared/drawing/Palette.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace orbistat {

class SettingsStore;
class SystemMonitor;

class ScreenshotExport {
public:
    // Builds a view of the demo monitor in an appearance: the popover, or
    // the settings window's content (showing the tab stored under
    // "settingsTab").
    using ViewFactory
        = std::function<std::unique_ptr<QWidget>(SystemMonitor& monitor, SettingsStore& settings, Appearance appearance)>;

    ScreenshotExport(QString folder, SettingsStore& settings, ViewFactory popover, ViewFactory settingsView,
                     std::FILE* errors = stderr);

    // The whole export, on the calling (main) thread.
    void run();

    const ExportLog& log() const { return log_; }

    static const QStringList& settingsTabs();
    static QString appearanceWord(Appearance appearance);

    // Encodes and writes FOLDER/name.png, logging the outcome. False when
    // nothing was written.
    bool save(const QImage& image, const QString& name) const;

private:
    QImage renderView(QWidget& view, QSize points, Appearance appearance) const;

    QString folder_;
    SettingsStore& settings_;
    ViewFactory popover_;
    ViewFactory settingsView_;
    ExportLog log_;
};

// The program's export mode: logs the start, arms the 90-second watchdog,
// runs the export from the event loop and ends the application with status
// 0 ("finito"). Returns the application's exit status.
int runScreenshotExport(const QString& folder, SettingsStore& settings, ScreenshotExport::ViewFactory popover,
                        ScreenshotExport::ViewFactory settingsView);

} // namespace orbistat
