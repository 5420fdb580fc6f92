// One accessory in the accessories card: its icon (a bolt while charging),
// its name on one line, its charge in percent and a 56-point bar coloured by
// charge. Drawn as one widget, so a screen reader meets the line as a single
// element: "Mouse 64 percent".
#pragma once

#include "shared/AccessoryBattery.h"
#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextRun.h"

#include <QFont>
#include <QRectF>
#include <QWidget>

namespace orbistat::ui {

// Green while charging; otherwise red to 10 %, orange to 20 %, else green.
ColorRole accessoryBarColor(const AccessoryBattery& accessory);

class AccessoryLine : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr double iconFrame = 18.0;
    static constexpr int iconPoints = 14;
    static constexpr double spacing = 8.0;
    static constexpr double minimumGap = 6.0;
    static constexpr double barWidth = 56.0;
    static constexpr double barHeight = 8.0;
    static constexpr int textPoints = 12;

    explicit AccessoryLine(QWidget* parent = nullptr);

    void setAccessory(const AccessoryBattery& accessory);

    // What the line shows.
    QString iconSymbol() const;
    QString percentText() const;
    QString shownName() const;
    ColorRole barColor() const;

    struct Geometry {
        QRectF icon;
        QRectF name;
        QRectF percent;
        QRectF bar;
        QRectF barFill;
    };
    Geometry geometry() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::ListItem; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    AccessoryBattery accessory_;
    bool empty_ = true;  // nothing set yet
    TextRun name_;
    TextRun percent_;
    SymbolGlyphs icon_;
    int lineHeight_ = 0;
};

} // namespace orbistat::ui
