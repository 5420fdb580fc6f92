// The widget program's arguments: which widgets to show, or one widget to
// render into an image file.
#pragma once

#include "widget/WidgetKind.h"
#include "widget/WidgetPalette.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

namespace orbistat::widget {

struct WidgetRequest {
    WidgetKind kind = WidgetKind::stats;
    WidgetFamily family = WidgetFamily::small;
    friend bool operator==(const WidgetRequest&, const WidgetRequest&) = default;
};

struct WidgetCommandLine {
    std::vector<WidgetRequest> widgets;   // in the order asked
    std::optional<QString> renderFile;    // --render FILE.png
    bool preview = false;                 // the sample instead of the stored snapshot
    std::optional<Appearance> appearance; // --dark / --light; else the desktop's
    bool help = false;
};

// Each --kind starts a widget; a --family applies to the latest widget that
// has none yet, or repeats the latest kind in another size. A widget given
// no family is small; no widget at all means one small stats widget.
// Returns the error text for arguments that do not parse.
std::variant<WidgetCommandLine, QString> parseWidgetCommandLine(const QStringList& arguments);
QString widgetUsageText();

} // namespace orbistat::widget
