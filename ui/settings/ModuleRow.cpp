#include "ui/settings/ModuleRow.h"

#include "shared/drawing/SymbolTable.h"
#include "ui/Theme.h"
#include "ui/settings/FormStyle.h"
#include "ui/settings/SymbolIcon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalBlocker>

namespace orbistat::ui {

namespace {
constexpr int chevronSize = 18;

// A borderless button shows no frame, and so no focus either; this one
// draws a ring while it has the keyboard focus.
class ChevronButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QToolButton::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor ring = orbistat::palette(appearanceOf(*this)).accent;
        ring.setAlphaF(0.6f);
        painter.setPen(QPen(ring, 2.0));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4.0, 4.0);
    }
};

QToolButton* makeChevron(const char* symbol, const QString& accessibleName, QWidget* parent)
{
    auto* button = new ChevronButton(parent);
    button->setAutoRaise(true);
    button->setFont(uiSymbolFont(chevronSize));
    button->setText(symbolGlyphText(QString::fromLatin1(symbol)));
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setFixedSize(chevronSize + 6, chevronSize + 2);
    return button;
}
} // namespace

ModuleRow::ModuleRow(MenuBarModule module, QWidget* parent)
    : QWidget(parent)
    , module_(module)
    , toggle_(new QCheckBox(title(module), this))
    , up_(makeChevron("chevron.up", tr("Move %1 up").arg(title(module)), this))
    , down_(makeChevron("chevron.down", tr("Move %1 down").arg(title(module)), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    toggle_->setAccessibleName(title(module));
    toggle_->setIconSize(QSize(form::symbolSize, form::symbolSize));
    layout->addWidget(toggle_);
    layout->addStretch(1);
    layout->addWidget(up_);
    layout->addWidget(down_);
    updateIcon();

    connect(toggle_, &QCheckBox::toggled, this, [this](bool on) { emit toggled(module_, on); });
    connect(up_, &QToolButton::clicked, this, [this] { emit moved(module_, -1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit moved(module_, +1); });
}

void ModuleRow::showState(bool enabled, bool canMoveUp, bool canMoveDown)
{
    const QSignalBlocker blocker(toggle_);
    toggle_->setChecked(enabled);
    up_->setEnabled(canMoveUp);
    down_->setEnabled(canMoveDown);
}

void ModuleRow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateIcon();
}

void ModuleRow::updateIcon()
{
    toggle_->setIcon(symbolIcon(symbolName(module_), orbistat::palette(appearanceOf(*this)).accent, form::symbolSize));
}

} // namespace orbistat::ui
