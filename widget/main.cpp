// orbistat-widget: Orbistat's desktop widgets, drawn from the snapshot the
// monitor stores. It reads the store and never writes it.
#include "shared/RuntimeDirectory.h"
#include "shared/SharedStatsStore.h"
#include "shared/drawing/AppFonts.h"
#include "widget/StatsProvider.h"
#include "widget/WidgetCommandLine.h"
#include "widget/WidgetHost.h"
#include "widget/WidgetRenderer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

using namespace orbistat;
using namespace orbistat::widget;

namespace {

int render(int argc, char* argv[], const WidgetCommandLine& line)
{
    // Rendering needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!registerAppFonts()) {
        QTextStream(stderr) << "orbistat-widget: the embedded fonts could not be loaded\n";
        return 1;
    }
    const StatsProvider provider;
    const WidgetRequest& widget = line.widgets.front();
    const QImage image = renderWidget(widget.kind, widget.family, provider.snapshot(line.preview),
                                      line.appearance.value_or(Appearance::light), 2.0);
    if (!image.save(*line.renderFile, "PNG")) {
        QTextStream(stderr) << "orbistat-widget: cannot write " << *line.renderFile << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const auto parsed = parseWidgetCommandLine(arguments);
    if (const auto* error = std::get_if<QString>(&parsed)) {
        QTextStream(stderr) << "orbistat-widget: " << *error << "\n\n" << widgetUsageText();
        return 2;
    }
    const auto& line = std::get<WidgetCommandLine>(parsed);
    if (line.help) {
        QTextStream(stdout) << widgetUsageText();
        return 0;
    }
    settleRuntimeDirectory();
    if (line.renderFile)
        return render(argc, argv, line);

    // Widgets are windows on a desktop; without one Qt would abort.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QTextStream(stderr) << "orbistat-widget: no display: the widgets need a desktop session "
                               "(or use --render FILE to draw one into a PNG)\n";
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orbistat-widget"));
    QApplication::setQuitOnLastWindowClosed(false);
    registerAppFonts();

    const StatsProvider provider;
    WidgetHost host(provider, sharedStoreFolder());
    QObject::connect(&host, &WidgetHost::allWidgetsClosed, &app, &QCoreApplication::quit);
    for (const auto& widget : line.widgets)
        host.addWidget(widget.kind, widget.family, line.appearance);
    return app.exec();
}
