#include "ui/settings/SettingsTabBar.h"

#include "shared/drawing/SymbolTable.h"
#include "ui/Theme.h"
#include "ui/settings/FormStyle.h"

#include <QFontMetrics>
#include <QPainter>

namespace orbistat::ui {

namespace {
constexpr int tabSymbolSize = 16;
constexpr int tabHeight = 28;
constexpr int tabPadding = 10;  // content from the tab's sides
constexpr int titleGap = 6;     // symbol to title
constexpr double highlightRadius = 6.0;
} // namespace

SettingsTabBar::SettingsTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setFont(uiFont(form::tabTextSize));
    setFocusPolicy(Qt::StrongFocus);
}

int SettingsTabBar::addSymbolTab(const QString& title, const QString& symbol)
{
    const int index = addTab(title);
    setTabData(index, symbol);
    return index;
}

QSize SettingsTabBar::tabSizeHint(int index) const
{
    const int textWidth = QFontMetrics(font()).horizontalAdvance(tabText(index));
    return {tabPadding + tabSymbolSize + titleGap + textWidth + tabPadding, tabHeight};
}

void SettingsTabBar::paintEvent(QPaintEvent*)
{
    const Appearance appearance = appearanceOf(*this);
    const Palette& colours = orbistat::palette(appearance);
    const bool dark = appearance == Appearance::dark;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (int i = 0; i < count(); ++i) {
        const QRect box = tabRect(i);
        const bool selected = i == currentIndex();
        if (selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(dark ? QColor(255, 255, 255, 26) : QColor(0, 0, 0, 16));
            painter.drawRoundedRect(QRectF(box).adjusted(1, 1, -1, -1), highlightRadius, highlightRadius);
        }
        int x = box.left() + tabPadding;
        painter.setPen(selected ? colours.accent : palette().color(QPalette::PlaceholderText));
        painter.setFont(uiSymbolFont(tabSymbolSize));
        painter.drawText(QRect(x, box.top(), tabSymbolSize, box.height()), Qt::AlignCenter, symbolGlyphText(tabData(i).toString()));
        x += tabSymbolSize + titleGap;
        painter.setFont(font());
        painter.setPen(selected ? colours.accent : palette().color(QPalette::WindowText));
        painter.drawText(QRect(x, box.top(), box.right() - x, box.height()), Qt::AlignLeft | Qt::AlignVCenter, tabText(i));

        if (selected && hasFocus()) {
            QColor ring = colours.accent;
            ring.setAlphaF(0.55f);
            painter.setPen(QPen(ring, 2.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(box).adjusted(1, 1, -1, -1), highlightRadius, highlightRadius);
        }
    }
}

} // namespace orbistat::ui
