// Machine text (device, sensor, network and interface names, diagnostic
// lines) is always drawn as plain text on one line: it can neither carry
// markup nor break a layout with line feeds or tabs.
#pragma once

#include <QString>

namespace orbistat {

// Control characters (line breaks, tabs, NUL ...) and line or paragraph
// separators become spaces.
QString singleLine(const QString& text);

} // namespace orbistat
