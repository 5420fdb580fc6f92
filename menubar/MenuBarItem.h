// One block of the menu bar image: what a module shows and how urgently.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace orbistat {

enum class MenuBarSeverity { normal, warning, critical };

struct MenuBarItem {
    QString label;                // the short caption ("CPU", "NET")
    QStringList lines;            // one or two value lines
    MenuBarSeverity severity = MenuBarSeverity::normal;
    std::vector<double> history;  // fractions, oldest first (graph style)
    double fraction = 0.0;        // drawn as a bar while the history is short
    QString reference;            // the widest value the module shows; keeps the width steady

    friend bool operator==(const MenuBarItem&, const MenuBarItem&) = default;
};

} // namespace orbistat
