#include "ui/components/TextRun.h"

#include "shared/drawing/PlainText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace orbistat::ui {

TextRun::TextRun(const QFont& font, const QString& text)
{
    setFont(font);
    setText(text);
}

void TextRun::setFont(const QFont& font)
{
    font_ = font;
    const QFontMetricsF metrics(font_);
    lineHeight_ = metrics.height();
    ascent_ = metrics.ascent();
    whole_ = shape(text_);
    width_ = whole_.width;
    elidedFor_ = -1.0;
}

bool TextRun::setText(const QString& text)
{
    QString line = singleLine(text);
    if (line == text_)
        return false;
    text_ = std::move(line);
    whole_ = shape(text_);
    width_ = whole_.width;
    elidedFor_ = -1.0;
    return true;
}

TextRun::Shaped TextRun::shape(const QString& text) const
{
    Shaped shaped;
    if (text.isEmpty())
        return shaped;
    // A text layout treats its string as plain text: no markup is parsed.
    QTextLayout layout(text, font_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e9);
    layout.endLayout();
    if (!line.isValid())
        return shaped;
    shaped.width = line.naturalTextWidth();
    shaped.ascent = line.ascent();
    shaped.runs = layout.glyphRuns();
    return shaped;
}

const TextRun::Shaped& TextRun::fitted(double width) const
{
    if (width >= width_)
        return whole_;
    if (elidedFor_ != width) {
        elidedText_ = QFontMetricsF(font_).elidedText(text_, Qt::ElideRight, width);
        elided_ = shape(elidedText_);
        elidedFor_ = width;
    }
    return elided_;
}

QString TextRun::shownText(double width) const
{
    if (width >= width_)
        return text_;
    fitted(width);
    return elidedText_;
}

void TextRun::draw(QPainter& painter, const QRectF& box, Qt::Alignment alignment) const
{
    if (text_.isEmpty() || box.width() <= 0)
        return;
    const Shaped& shaped = fitted(box.width());
    double x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.right() - shaped.width;
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - shaped.width) / 2.0;
    // The font's baseline, centred as a line of the font: a fallback font
    // with a taller ascent in the line does not push the text down.
    const double baseline = box.top() + (box.height() - lineHeight_) / 2.0 + ascent_;
    for (const QGlyphRun& run : shaped.runs)
        painter.drawGlyphRun(QPointF(x, baseline - shaped.ascent), run);
}

void TextRun::drawOnBaseline(QPainter& painter, double x, double baseline, double maxWidth) const
{
    if (text_.isEmpty() || maxWidth <= 0)
        return;
    const Shaped& shaped = fitted(maxWidth);
    for (const QGlyphRun& run : shaped.runs)
        painter.drawGlyphRun(QPointF(x, baseline - shaped.ascent), run);
}

} // namespace orbistat::ui
