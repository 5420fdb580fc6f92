// A symbol of the one symbol table, drawn from the icon font centred in a
// box of fixed size. A symbol with layers ("wifi": dot, inner arc, outer
// arc) can show a variable value: of its n layers the first ceil(q × n) are
// drawn in the colour and the rest in the track colour, so q = 0 lights
// none and q = 1 all.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"
#include "ui/components/TextRun.h"

#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

namespace orbistat::ui {

// The glyphs of one symbol at one size, shaped once: drawn centred in a box,
// with a variable value the layers after the lit ones in `inactive`.
class SymbolGlyphs {
public:
    SymbolGlyphs(const QString& name, int points);

    void setSymbol(const QString& name);
    const QString& symbol() const { return name_; }
    int points() const { return points_; }

    void draw(QPainter& painter, const QRectF& box, const QColor& color, std::optional<double> variableValue = std::nullopt,
              const QColor& inactive = QColor()) const;

private:
    QString name_;
    int points_;
    TextRun full_;
    // The partial glyphs of a layered symbol, one per lit count.
    std::vector<TextRun> levels_;
};

// How many of the symbol's layers a variable value lights, and how many it
// has (1 for a symbol without layers).
int litLayers(const QString& name, double variableValue);
int layerCount(const QString& name);

class SymbolView : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    // The box is `frameWidth` wide (the symbol size when 0) and as high as
    // the symbol.
    SymbolView(const QString& name, int points, ColorRole role, int frameWidth = 0, QWidget* parent = nullptr);

    void setSymbol(const QString& name);
    const QString& symbol() const { return glyphs_.symbol(); }
    void setRole(ColorRole role);
    // Absent: the symbol as drawn normally.
    void setVariableValue(std::optional<double> value);
    std::optional<double> variableValue() const { return variableValue_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::Graphic; }
    QString accessibleText(QAccessible::Text) const override { return {}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SymbolGlyphs glyphs_;
    ColorRole role_;
    int frameWidth_;
    std::optional<double> variableValue_;
};

} // namespace orbistat::ui
