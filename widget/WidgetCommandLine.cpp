#include "widget/WidgetCommandLine.h"

#include <QCoreApplication>

namespace orbistat::widget {

namespace {

struct Pending {
    WidgetKind kind;
    std::optional<WidgetFamily> family;
};

} // namespace

std::variant<WidgetCommandLine, QString> parseWidgetCommandLine(const QStringList& arguments)
{
    WidgetCommandLine line;
    std::vector<Pending> pending;

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString option = arguments[i];
        std::optional<QString> value;
        if (const auto equals = option.indexOf(QLatin1Char('=')); option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option.truncate(equals);
        }
        const auto takeValue = [&]() -> std::optional<QString> {
            if (value)
                return value;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };

        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            line.help = true;
        } else if (option == QLatin1String("--preview")) {
            line.preview = true;
        } else if (option == QLatin1String("--dark")) {
            line.appearance = Appearance::dark;
        } else if (option == QLatin1String("--light")) {
            line.appearance = Appearance::light;
        } else if (option == QLatin1String("--render")) {
            const auto file = takeValue();
            if (!file || file->isEmpty())
                return QStringLiteral("--render needs a file name");
            line.renderFile = *file;
        } else if (option == QLatin1String("--kind")) {
            const auto name = takeValue();
            const auto kind = name ? widgetKindFromName(*name) : std::nullopt;
            if (!kind)
                return QStringLiteral("--kind takes stats or devices");
            pending.push_back({*kind, std::nullopt});
        } else if (option == QLatin1String("--family")) {
            const auto name = takeValue();
            const auto family = name ? widgetFamilyFromName(*name) : std::nullopt;
            if (!family)
                return QStringLiteral("--family takes small, medium or large");
            if (pending.empty())
                pending.push_back({WidgetKind::stats, family});
            else if (!pending.back().family)
                pending.back().family = family;
            else
                pending.push_back({pending.back().kind, family});
        } else {
            return QStringLiteral("unknown argument: ") + arguments[i];
        }
    }

    for (const auto& widget : pending)
        line.widgets.push_back({widget.kind, widget.family.value_or(WidgetFamily::small)});
    if (line.widgets.empty())
        line.widgets.push_back({});
    if (line.renderFile && line.widgets.size() > 1)
        return QStringLiteral("--render draws one widget: give one --kind and one --family");
    return line;
}

QString widgetUsageText()
{
    QString text = QStringLiteral(
        "Usage: orbistat-widget [--kind stats|devices [--family small|medium|large]]... [--dark|--light]\n"
        "       orbistat-widget --render FILE.png [--kind K] [--family F] [--preview] [--dark]\n"
        "\n"
        "Shows Orbistat's desktop widgets, drawn from the snapshot the running\n"
        "orbistat program stores. Several widgets may be given; each --kind starts\n"
        "one, and its --family sets its size (small when left out).\n"
        "\n"
        "  --render FILE.png  draw one widget at twice its size into a PNG and exit\n"
        "  --preview          draw the sample data instead of the stored snapshot\n"
        "  --dark, --light    force the appearance (default: follow the desktop)\n");
    text += QStringLiteral("\nWidgets:\n");
    for (const auto& config : widgetConfigurations) {
        text += QStringLiteral("  %1  %2: %3\n")
                    .arg(QString::fromLatin1(config.shortName).leftJustified(8),
                         QCoreApplication::translate("Widget", config.displayName),
                         QCoreApplication::translate("Widget", config.description));
    }
    return text;
}

} // namespace orbistat::widget
