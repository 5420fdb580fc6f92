#include "ui/settings/SegmentedControl.h"

#include "ui/Theme.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace orbistat::ui {

namespace {

constexpr int segmentHeight = 24;
constexpr int segmentPadding = 12;  // text from the segment's sides
constexpr double cornerRadius = 6.0;

// One segment; it draws its part of the joined outline.
class Segment : public QAbstractButton {
public:
    enum class Position { first, middle, last, only };

    Segment(const QString& title, Position position, QWidget* parent)
        : QAbstractButton(parent)
        , position_(position)
    {
        setText(title);
        setAccessibleName(title);
        setCheckable(true);
        setFocusPolicy(Qt::StrongFocus);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        return {QFontMetrics(font()).horizontalAdvance(text()) + 2 * segmentPadding, segmentHeight};
    }

    std::function<void(int step)> onArrow;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && onArrow) {
            onArrow(event->key() == Qt::Key_Left ? -1 : +1);
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent*) override
    {
        const Appearance appearance = appearanceOf(*this);
        const Palette& colours = orbistat::palette(appearance);
        const bool dark = appearance == Appearance::dark;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);

        // Round the outer corners only: the segment's rectangle is extended
        // past the inner sides and clipped to its own bounds.
        QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (position_ == Position::middle || position_ == Position::last)
            shape.adjust(-cornerRadius * 2, 0, 0, 0);
        if (position_ == Position::middle || position_ == Position::first)
            shape.adjust(0, 0, cornerRadius * 2, 0);
        QPainterPath outline;
        outline.addRoundedRect(shape, cornerRadius, cornerRadius);
        painter.setClipRect(rect());

        QColor fill = dark ? QColor(255, 255, 255, 22) : QColor(255, 255, 255);
        if (isChecked())
            fill = colours.accent;
        if (!isEnabled())
            fill.setAlphaF(fill.alphaF() * 0.5f);
        painter.fillPath(outline, fill);
        const QColor border = dark ? QColor(255, 255, 255, 36) : QColor(0, 0, 0, 40);
        painter.setPen(QPen(border, 1.0));
        painter.drawPath(outline);
        // The line between this segment and the next.
        if (position_ == Position::first || position_ == Position::middle)
            painter.drawLine(QPointF(width() - 0.5, 0.5), QPointF(width() - 0.5, height() - 0.5));

        const QColor ink = isChecked() ? QColor(Qt::white)
                                        : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
        painter.setPen(ink);
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, text());

        if (hasFocus()) {
            QColor ring = colours.accent;
            ring.setAlphaF(0.55f);
            painter.setPen(QPen(ring, 2.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 3.0, 3.0);
        }
    }

private:
    Position position_;
};

} // namespace

SegmentedControl::SegmentedControl(const QStringList& titles, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    group_.setExclusive(true);
    for (int i = 0; i < titles.size(); ++i) {
        auto position = Segment::Position::middle;
        if (titles.size() == 1)
            position = Segment::Position::only;
        else if (i == 0)
            position = Segment::Position::first;
        else if (i == titles.size() - 1)
            position = Segment::Position::last;
        auto* segment = new Segment(titles[i], position, this);
        segment->onArrow = [this, i](int step) {
            const int next = i + step;
            if (next >= 0 && next < count()) {
                segments_[static_cast<size_t>(next)]->setFocus(Qt::TabFocusReason);
                pick(next);
            }
        };
        group_.addButton(segment, i);
        segments_.push_back(segment);
        layout->addWidget(segment);
    }
    connect(&group_, &QButtonGroup::idClicked, this, &SegmentedControl::activated);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int SegmentedControl::currentIndex() const
{
    return group_.checkedId();
}

void SegmentedControl::setCurrentIndex(int index)
{
    if (index < 0 || index >= count()) {
        // An exclusive group keeps one button checked; let go of it briefly.
        group_.setExclusive(false);
        for (auto* segment : segments_)
            segment->setChecked(false);
        group_.setExclusive(true);
        return;
    }
    segments_[static_cast<size_t>(index)]->setChecked(true);
}

QAbstractButton* SegmentedControl::segment(int index) const
{
    return index >= 0 && index < count() ? segments_[static_cast<size_t>(index)] : nullptr;
}

void SegmentedControl::pick(int index)
{
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    emit activated(index);
}

} // namespace orbistat::ui
