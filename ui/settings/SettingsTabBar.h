// The row of tabs at the top of the settings window: each tab its symbol and
// title side by side, the selected one in the accent colour on a soft
// rounded highlight. A QTabBar underneath, so the arrow keys, focus and the
// accessibility of tabs are Qt's.
#pragma once

#include <QString>
#include <QTabBar>

namespace orbistat::ui {

class SettingsTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit SettingsTabBar(QWidget* parent = nullptr);

    int addSymbolTab(const QString& title, const QString& symbol);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orbistat::ui
