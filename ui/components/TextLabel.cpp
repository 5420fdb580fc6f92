#include "ui/components/TextLabel.h"

#include "shared/drawing/PlainText.h"
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
    , text_(singleLine(text))
    , font_(font)
    , role_(role)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    measure();
}

void TextLabel::measure()
{
    const QFontMetricsF metrics(font_);
    textWidth_ = static_cast<int>(std::ceil(metrics.horizontalAdvance(text_)));
    lineHeight_ = static_cast<int>(std::ceil(metrics.height()));
    elidedFor_ = -1;
}

void TextLabel::setText(const QString& text)
{
    QString line = singleLine(text);
    if (line == text_)
        return;
    const int oldWidth = textWidth_;
    text_ = std::move(line);
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
    font_ = font;
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
    const QFontMetricsF metrics(font_);
    const QRectF box = metrics.boundingRect(QRectF(0, 0, std::max(width, 1), 100000), wrapFlags | int(alignment_), text_);
    return std::max(lineHeight_, static_cast<int>(std::ceil(box.height())));
}

QString TextLabel::shownText() const
{
    if (wrapping_ || width() >= textWidth_)
        return text_;
    if (elidedFor_ != width()) {
        elidedText_ = QFontMetricsF(font_).elidedText(text_, Qt::ElideRight, width());
        elidedFor_ = width();
    }
    return elidedText_;
}

void TextLabel::paintEvent(QPaintEvent*)
{
    if (text_.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(font_);
    painter.setPen(colorOf(role_, appearanceOf(*this)));
    if (wrapping_)
        painter.drawText(rect(), wrapFlags | int(alignment_) | Qt::AlignVCenter, text_);
    else
        painter.drawText(rect(), Qt::TextSingleLine | int(alignment_) | Qt::AlignVCenter, shownText());
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
        return text_;
    return {};
}

} // namespace orbistat::ui
