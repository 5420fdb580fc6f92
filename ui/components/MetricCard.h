// The framed card every popover section is built on: a title line (symbol,
// title, and on the right an optional subtitle) above the card's content,
// one column 10 apart, padded by 12, on a rounded translucent plate with a
// hairline border. For assistive technologies the card is one group named by
// its title that contains its children.
//
// The card also paces its own redraws: `invalidate()` (connected to the
// monitor's change signals) marks it out of date; a card on screen refreshes
// once on the next pass of the event loop, however many signals one tick
// sent, and a card that is not on screen does nothing until it is shown.
#pragma once

#include "ui/components/DrawnAccessibility.h"

#include <QString>
#include <QWidget>
#include <optional>

class QHBoxLayout;
class QVBoxLayout;

namespace orbistat::ui {

class SymbolView;
class TextLabel;

class MetricCard : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr int padding = 12;
    static constexpr int spacing = 10;
    static constexpr double cornerRadius = 12.0;

    MetricCard(const QString& title, const QString& symbol, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    // Shown verbatim on one line, elided; absent hides it.
    void setSubtitle(const std::optional<QString>& subtitle);

    QString title() const;
    QString symbol() const;
    std::optional<QString> subtitle() const;
    TextLabel* subtitleLabel() const { return subtitle_; }

    // Adds a part below the previous one, stretched to the card's width.
    void addContent(QWidget* part);
    void addContent(QLayout* part);

    // Marks the card out of date (see above).
    void invalidate();
    // Brings the card up to date now if it is out of date.
    void refreshIfNeeded();
    bool isOutOfDate() const { return outOfDate_; }

    QAccessible::Role accessibleRole() const override { return QAccessible::Grouping; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    // Reads the monitor and updates the parts in place.
    virtual void refresh() {}
    // Shows or hides a part, touching it (and the layout) only on a change.
    static void setShown(QWidget* part, bool shown);

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QVBoxLayout* column_;
    SymbolView* symbol_;
    TextLabel* title_;
    TextLabel* subtitle_;
    bool outOfDate_ = true;
    bool refreshPosted_ = false;
};

} // namespace orbistat::ui
