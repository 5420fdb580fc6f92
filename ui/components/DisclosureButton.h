// The title line of a collapsible group: a chevron (pointing right while
// collapsed, down while expanded) and the title at 11. A checkable button,
// so it takes keyboard focus, toggles with the space bar and reads as an
// expandable control to a screen reader.
#pragma once

#include "ui/components/SymbolView.h"
#include "ui/components/TextRun.h"

#include <QAbstractButton>

namespace orbistat::ui {

class DisclosureButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int fontPoints = 11;

    explicit DisclosureButton(const QString& title = QString(), QWidget* parent = nullptr);

    // The title, shown as plain text.
    void setTitle(const QString& title);

    bool isExpanded() const { return isChecked(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TextRun title_;
    SymbolGlyphs collapsed_;
    SymbolGlyphs expanded_;
};

} // namespace orbistat::ui
