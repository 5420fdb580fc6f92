#include "app/ScreenshotExport.h"

#include "app/ExportWatchdog.h"
#include "app/PopoverCrop.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "menubar/MenuBarRenderer.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

namespace orbistat {

namespace {

constexpr Appearance appearances[] = {Appearance::light, Appearance::dark};
constexpr MenuBarStyle styles[] = {MenuBarStyle::inline_, MenuBarStyle::stacked, MenuBarStyle::graph};
const std::vector<MenuBarModule> pictureModules{MenuBarModule::cpu, MenuBarModule::memory, MenuBarModule::network,
                                                MenuBarModule::gpu, MenuBarModule::temperature};
constexpr QSize popoverPoints(340, 2000);
constexpr QSize settingsPoints(520, 500);
constexpr double popoverMargin = 12.0;
constexpr double pixelRatio = 2.0;

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says on every window that it cannot raise it or
// pass on size hints; standard error is the export's log and keeps only
// its own lines and real problems.
void withoutOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

ScreenshotExport::ScreenshotExport(QString folder, SettingsStore& settings, ViewFactory popover, ViewFactory settingsView,
                                   std::FILE* errors)
    : folder_(std::move(folder))
    , settings_(settings)
    , popover_(std::move(popover))
    , settingsView_(std::move(settingsView))
    , log_(folder_, errors)
{
}

const QStringList& ScreenshotExport::settingsTabs()
{
    static const QStringList tabs{QStringLiteral("general"), QStringLiteral("menuBar"), QStringLiteral("popover"),
                                  QStringLiteral("alerts")};
    return tabs;
}

QString ScreenshotExport::appearanceWord(Appearance appearance)
{
    return appearance == Appearance::dark ? QStringLiteral("dark") : QStringLiteral("light");
}

QImage ScreenshotExport::renderView(QWidget& view, QSize points, Appearance appearance) const
{
    ui::applyAppearance(view, appearance);
    return ui::renderWidget(view, points, pixelRatio);
}

bool ScreenshotExport::save(const QImage& image, const QString& name) const
{
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        log_.log(QStringLiteral("ERRORE: PNG non generato per ") + name);
        return false;
    }
    // QSaveFile writes a new file and renames it into place: a link found
    // at the name is replaced, never written through.
    QSaveFile file(QDir(folder_).filePath(name + QStringLiteral(".png")));
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        log_.log(QStringLiteral("ERRORE scrittura ") + name + QStringLiteral(": ") + file.errorString());
        return false;
    }
    log_.log(QStringLiteral("salvato ") + name + QStringLiteral(".png"));
    return true;
}

void ScreenshotExport::run()
{
    QDir().mkpath(folder_);
    log_.log(QStringLiteral("creo il monitor"));
    // The demo monitor never samples: no samplers, and demo mode stops it
    // for good.
    const LinuxUptimeClock clock{LinuxRoot("/")};
    SystemMonitor monitor(MonitorSamplers{}, settings_, clock);
    monitor.enterDemoMode();
    log_.log(QStringLiteral("dati di esempio caricati"));

    for (const Appearance appearance : appearances) {
        const QString a = appearanceWord(appearance);

        log_.log(a + QStringLiteral(": popover"));
        QImage popover;
        if (auto view = popover_ ? popover_(monitor, settings_, appearance) : nullptr)
            popover = renderView(*view, popoverPoints, appearance);
        if (popover.isNull()) {
            log_.log(a + QStringLiteral(": popover NON disegnato"));
        } else {
            log_.log(a + QStringLiteral(": popover disegnato, ritaglio"));
            save(cropPopover(popover, popoverMargin), QStringLiteral("popover-") + a);
        }

        log_.log(a + QStringLiteral(": barra dei menu"));
        const auto items = MenuBarRenderer::items(monitor, pictureModules, settings_);
        for (const MenuBarStyle style : styles) {
            const QImage image = MenuBarRenderer::render(items, style, true, appearance, pixelRatio);
            QImage bitmap(image.size(), QImage::Format_ARGB32_Premultiplied);
            bitmap.setDevicePixelRatio(pixelRatio);
            bitmap.fill(Qt::transparent);
            if (!image.isNull()) {
                QPainter painter(&bitmap);
                painter.drawImage(QPointF(0, 0), image);
            }
            save(image.isNull() ? QImage() : bitmap, QStringLiteral("menubar-") + rawValue(style) + QLatin1Char('-') + a);
        }

        for (const QString& tab : settingsTabs()) {
            log_.log(a + QStringLiteral(": impostazioni ") + tab);
            settings_.setValue(QString::fromLatin1(SettingsKey::settingsTab), tab);
            QImage picture;
            if (auto view = settingsView_ ? settingsView_(monitor, settings_, appearance) : nullptr)
                picture = renderView(*view, settingsPoints, appearance);
            save(picture, QStringLiteral("settings-") + tab + QLatin1Char('-') + a);
        }
    }
}

int runScreenshotExport(const QString& folder, SettingsStore& settings, ScreenshotExport::ViewFactory popover,
                        ScreenshotExport::ViewFactory settingsView)
{
    previousHandler = qInstallMessageHandler(withoutOffscreenNotes);
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    ScreenshotExport exporter(absolute, settings, std::move(popover), std::move(settingsView));
    exporter.log().log(QStringLiteral("avvio, cartella: ") + absolute, true);
    // A rendering that hangs blocks the main thread: only another thread can
    // still end the process. _exit, because the hung thread holds whatever
    // locks it holds and nothing may wait for them.
    ExportWatchdog watchdog(ExportWatchdog::exportLimit, [&exporter] {
        exporter.log().log(QStringLiteral("TIMEOUT: nessun risultato dopo 90 s"));
        ::_exit(2);
    });
    QTimer::singleShot(0, [&exporter] {
        exporter.run();
        exporter.log().log(QStringLiteral("finito"));
        QCoreApplication::exit(0);
    });
    const int status = QCoreApplication::exec();
    watchdog.disarm();
    return status;
}

} // namespace orbistat
