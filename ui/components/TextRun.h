// One line of plain text, shaped once when it changes and drawn from its
// glyphs at every paint: shaping (finding glyphs and their places, the
// costly part of drawing text) happens on a tick, not on every repaint. The
// text is never interpreted as markup; control characters are shown as
// spaces. When it does not fit its box it ends in an ellipsis (the shortened
// line is shaped once per box width).
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

namespace orbistat::ui {

class TextRun {
public:
    TextRun() = default;
    explicit TextRun(const QFont& font, const QString& text = QString());

    void setFont(const QFont& font);
    // True when the text changed.
    bool setText(const QString& text);
    const QString& text() const { return text_; }
    const QFont& font() const { return font_; }

    // Advance of the whole text and the height of its line, in points.
    double width() const { return width_; }
    double lineHeight() const { return lineHeight_; }
    double ascent() const { return ascent_; }

    // The text as drawn in a box of that width (with its ellipsis).
    QString shownText(double width) const;
    // Draws the text in the box: vertically centred, horizontally as asked
    // (left, right or centre), elided to the box's width.
    void draw(QPainter& painter, const QRectF& box, Qt::Alignment alignment = Qt::AlignLeft) const;
    // Draws with the baseline at `baseline` from x, elided to `maxWidth`.
    void drawOnBaseline(QPainter& painter, double x, double baseline, double maxWidth) const;

private:
    struct Shaped {
        QList<QGlyphRun> runs;
        double width = 0.0;
        double ascent = 0.0;  // of the shaped line: its glyphs sit that far down
    };
    Shaped shape(const QString& text) const;
    const Shaped& fitted(double width) const;

    QFont font_;
    QString text_;
    Shaped whole_;
    double width_ = 0.0;
    double lineHeight_ = 0.0;
    double ascent_ = 0.0;
    mutable double elidedFor_ = -1.0;
    mutable QString elidedText_;
    mutable Shaped elided_;
};

} // namespace orbistat::ui
