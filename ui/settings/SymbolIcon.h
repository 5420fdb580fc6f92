// A symbol of the shared table as a QIcon for standard controls (tab labels,
// check boxes), drawn in one colour at one and two pixels per point.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace orbistat::ui {

QIcon symbolIcon(const QString& symbol, const QColor& color, int points);

} // namespace orbistat::ui
