// One widget on the desktop: a frameless window that draws its entry. It can
// be dragged anywhere; its context menu refreshes or closes it.
#pragma once

#include "widget/StatsProvider.h"
#include "widget/WidgetKind.h"
#include "widget/WidgetPalette.h"

#include <QWidget>
#include <optional>

namespace orbistat::widget {

class WidgetWindow : public QWidget {
    Q_OBJECT

public:
    WidgetWindow(WidgetKind kind, WidgetFamily family, std::optional<Appearance> appearance,
                 QWidget* parent = nullptr);

    WidgetKind kind() const { return kind_; }
    WidgetFamily family() const { return family_; }
    const StatsEntry& entry() const { return entry_; }
    void setEntry(StatsEntry entry);
    // The forced appearance, else the desktop's (a dark window colour means
    // a dark desktop).
    Appearance appearance() const;

signals:
    void refreshRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    WidgetKind kind_;
    WidgetFamily family_;
    std::optional<Appearance> appearance_;
    StatsEntry entry_;
};

} // namespace orbistat::widget
