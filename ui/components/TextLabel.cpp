#include "ui/components/TextLabel.h"

#include "ui/Theme.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace orbistat::ui {

namespace {
constexpr int wrapFlags = Qt::TextWordWrap;
}

TextLabel::TextLabel(const QFont& font, ColorRole role, QWidget* parent)
    : TextLabel(QString(), font, role, parent)
{
}

TextLabel::TextLabel(const QString& text, const QFont& font, ColorRole role, QWidget* parent)
    : QWidget(parent)
    , run_(font, text)
    , role_(role)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    measure();
}

void TextLabel::measure()
{
    textWidth_ = static_cast<int>(std::ceil(run_.width()));
    lineHeight_ = static_cast<int>(std::ceil(run_.lineHeight()));
}

void TextLabel::setText(const QString& text)
{
    if (!run_.setText(text))
        return;
    const int oldWidth = textWidth_;
    measure();
    if (textWidth_ != oldWidth || wrapping_)
        updateGeometry();
    update();
    notifyNameChanged(this);
}

void TextLabel::setRole(ColorRole role)
{
    if (role == role_)
        return;
    role_ = role;
    update();
}

void TextLabel::setFont(const QFont& font)
{
    run_.setFont(font);
    measure();
    updateGeometry();
    update();
}

void TextLabel::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TextLabel::setElided(bool elided)
{
    elided_ = elided;
    updateGeometry();
}

void TextLabel::setWrapping(bool wrapping)
{
    wrapping_ = wrapping;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wrapping);
    policy.setVerticalPolicy(wrapping ? QSizePolicy::Preferred : QSizePolicy::Fixed);
    setSizePolicy(policy);
    updateGeometry();
}

QSize TextLabel::sizeHint() const
{
    return {textWidth_, lineHeight_};
}

QSize TextLabel::minimumSizeHint() const
{
    if (wrapping_)
        return {0, lineHeight_};
    return {elided_ ? 0 : textWidth_, lineHeight_};
}

int TextLabel::heightForWidth(int width) const
{
    if (!wrapping_)
        return lineHeight_;
    const QFontMetricsF metrics(run_.font());
    const QRectF box = metrics.boundingRect(QRectF(0, 0, std::max(width, 1), 100000), wrapFlags | int(alignment_), run_.text());
    return std::max(lineHeight_, static_cast<int>(std::ceil(box.height())));
}

QString TextLabel::shownText() const
{
    return wrapping_ ? run_.text() : run_.shownText(width());
}

void TextLabel::paintEvent(QPaintEvent*)
{
    if (run_.text().isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(colorOf(role_, appearanceOf(*this)));
    if (wrapping_) {
        // Program texts only, and rarely shown: laid out at paint time.
        painter.setFont(run_.font());
        painter.drawText(rect(), wrapFlags | int(alignment_) | Qt::AlignVCenter, run_.text());
    } else {
        run_.draw(painter, rect(), alignment_);
    }
}

void TextLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString TextLabel::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name)
        return run_.text();
    return {};
}

} // namespace orbistat::ui
