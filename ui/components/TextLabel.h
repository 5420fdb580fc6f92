// One line of text, always plain (never interpreted as markup), with control
// characters shown as spaces and an ellipsis where it does not fit. The
// colour is a role resolved against the window's appearance at paint time.
// Used for every text of the popover: titles, subtitles, names, values.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"
#include "ui/components/TextRun.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace orbistat::ui {

class TextLabel : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    TextLabel(const QFont& font, ColorRole role, QWidget* parent = nullptr);
    TextLabel(const QString& text, const QFont& font, ColorRole role, QWidget* parent = nullptr);

    // Repaints (and asks for a new layout only when the width it wants
    // changed) only when the text is different.
    void setText(const QString& text);
    const QString& text() const { return run_.text(); }
    void setRole(ColorRole role);
    ColorRole role() const { return role_; }
    void setFont(const QFont& font);
    const QFont& textFont() const { return run_.font(); }
    // Horizontal placement inside the label's box; vertically centred.
    void setAlignment(Qt::Alignment alignment);
    // Elided labels (the default) may shrink to nothing and end in "…";
    // the others never get narrower than their text.
    void setElided(bool elided);
    // Words wrap onto further lines instead of eliding (program texts
    // only: a machine name stays on one line).
    void setWrapping(bool wrapping);

    // The text as drawn at the current width (with its ellipsis).
    QString shownText() const;
    // Width of the whole text in points.
    int textWidth() const { return textWidth_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return wrapping_; }
    int heightForWidth(int width) const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void measure();

    TextRun run_;
    ColorRole role_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool elided_ = true;
    bool wrapping_ = false;
    int textWidth_ = 0;
    int lineHeight_ = 0;
};

} // namespace orbistat::ui
