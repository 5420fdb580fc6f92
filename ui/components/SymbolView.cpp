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

SymbolGlyphs::SymbolGlyphs(const QString& name, int points)
    : points_(points)
    , full_(uiSymbolFont(points))
{
    setSymbol(name);
}

void SymbolGlyphs::setSymbol(const QString& name)
{
    if (name == name_ && !full_.text().isEmpty())
        return;
    name_ = name;
    full_.setText(symbolGlyphText(name));
    levels_.clear();
    if (const auto* symbol = layered(name)) {
        for (const char* level : symbol->levels)
            levels_.emplace_back(full_.font(), symbolGlyphText(QString::fromLatin1(level)));
    }
}

void SymbolGlyphs::draw(QPainter& painter, const QRectF& box, const QColor& color, std::optional<double> variableValue,
                        const QColor& inactive) const
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    painter.save();
    // A glyph is drawn whole even where its box is narrower than the font's
    // advance (the icon font's advance is the em).
    const QRectF wide(box.center().x() - full_.width() / 2.0, box.top(), full_.width(), box.height());
    if (!variableValue || levels_.empty()) {
        painter.setPen(color);
        full_.draw(painter, wide, Qt::AlignHCenter);
    } else {
        painter.setPen(inactive);
        full_.draw(painter, wide, Qt::AlignHCenter);
        const int lit = litLayers(name_, *variableValue);
        if (lit > 0) {
            painter.setPen(color);
            levels_[static_cast<size_t>(lit - 1)].draw(painter, wide, Qt::AlignHCenter);
        }
    }
    painter.restore();
}

SymbolView::SymbolView(const QString& name, int points, ColorRole role, int frameWidth, QWidget* parent)
    : QWidget(parent)
    , glyphs_(name, points)
    , role_(role)
    , frameWidth_(frameWidth > 0 ? frameWidth : points)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbol(const QString& name)
{
    if (name == glyphs_.symbol())
        return;
    glyphs_.setSymbol(name);
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
    return {frameWidth_, glyphs_.points()};
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Appearance appearance = appearanceOf(*this);
    glyphs_.draw(painter, rect(), colorOf(role_, appearance), variableValue_, colorOf(ColorRole::quaternary, appearance));
}

void SymbolView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace orbistat::ui
