#include "widget/WidgetKind.h"

#include <QCoreApplication>

namespace orbistat::widget {

const WidgetConfiguration& configuration(WidgetKind kind)
{
    return kind == WidgetKind::stats ? widgetConfigurations[0] : widgetConfigurations[1];
}

QString displayName(WidgetKind kind)
{
    return QCoreApplication::translate("Widget", configuration(kind).displayName);
}

QString familyName(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::small:
        return QStringLiteral("small");
    case WidgetFamily::medium:
        return QStringLiteral("medium");
    case WidgetFamily::large:
        break;
    }
    return QStringLiteral("large");
}

std::optional<WidgetKind> widgetKindFromName(const QString& name)
{
    for (const auto& config : widgetConfigurations) {
        if (name == QLatin1String(config.shortName) || name == QLatin1String(config.kindName))
            return config.kind;
    }
    return std::nullopt;
}

std::optional<WidgetFamily> widgetFamilyFromName(const QString& name)
{
    for (const auto family : widgetFamilies) {
        if (name == familyName(family))
            return family;
    }
    return std::nullopt;
}

QSizeF widgetSize(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::small:
        return {170, 170};
    case WidgetFamily::medium:
        return {364, 170};
    case WidgetFamily::large:
        break;
    }
    return {364, 382};
}

} // namespace orbistat::widget
