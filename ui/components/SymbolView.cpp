#include "ui/components/SymbolView.h"

#include "shared/drawing/SymbolTable.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace orbistat::ui {

namespace {

// Symbols whose glyph can be lit in parts: the glyph of each partial level,
// from one layer up to all of them. The partial glyphs of the icon font
// share the full glyph's geometry, so drawing one over the full glyph in
// another colour lights exactly those layers.
struct LayeredSymbol {
    const char* name;
    std::array<const char*, 3> levels;
};

constexpr std::array<LayeredSymbol, 1> layeredSymbols{{
    {"wifi", {"wifi.level1", "wifi.level2", "wifi"}},
}};

const LayeredSymbol* layered(const QString& name)
{
    for (const auto& symbol : layeredSymbols) {
        if (name == QLatin1String(symbol.name))
            return &symbol;
    }
    return nullptr;
}

} // namespace

int layerCount(const QString& name)
{
    const auto* symbol = layered(name);
    return symbol ? static_cast<int>(symbol->levels.size()) : 1;
}

int litLayers(const QString& name, double variableValue)
{
    const int count = layerCount(name);
    // A value that is no number lights nothing.
    const double q = std::isfinite(variableValue) ? std::clamp(variableValue, 0.0, 1.0) : 0.0;
    // The tiny tolerance keeps 2/3 × 3 from rounding up to a third layer.
    return std::clamp(static_cast<int>(std::ceil(q * count - 1e-9)), 0, count);
}

void drawSymbol(QPainter& painter, const QRectF& rect, const QString& name, int points, const QColor& color,
                std::optional<double> variableValue, const QColor& inactive)
{
    if (rect.width() <= 0 || rect.height() <= 0 || points <= 0)
        return;
    painter.save();
    painter.setFont(uiSymbolFont(points));
    constexpr int flags = Qt::AlignCenter | Qt::TextSingleLine;
    const auto* symbol = layered(name);
    if (!variableValue || !symbol) {
        painter.setPen(color);
        painter.drawText(rect, flags, symbolGlyphText(name));
    } else {
        painter.setPen(inactive);
        painter.drawText(rect, flags, symbolGlyphText(name));
        const int lit = litLayers(name, *variableValue);
        if (lit > 0) {
            painter.setPen(color);
            painter.drawText(rect, flags, symbolGlyphText(QString::fromLatin1(symbol->levels[static_cast<size_t>(lit - 1)])));
        }
    }
    painter.restore();
}

SymbolView::SymbolView(const QString& name, int points, ColorRole role, int frameWidth, QWidget* parent)
    : QWidget(parent)
    , name_(name)
    , points_(points)
    , role_(role)
    , frameWidth_(frameWidth > 0 ? frameWidth : points)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbol(const QString& name)
{
    if (name == name_)
        return;
    name_ = name;
    update();
}

void SymbolView::setRole(ColorRole role)
{
    if (role == role_)
        return;
    role_ = role;
    update();
}

void SymbolView::setVariableValue(std::optional<double> value)
{
    if (value == variableValue_)
        return;
    variableValue_ = value;
    update();
}

QSize SymbolView::sizeHint() const
{
    return {frameWidth_, points_};
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Appearance appearance = appearanceOf(*this);
    drawSymbol(painter, rect(), name_, points_, colorOf(role_, appearance), variableValue_,
               colorOf(ColorRole::quaternary, appearance));
}

void SymbolView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace orbistat::ui
