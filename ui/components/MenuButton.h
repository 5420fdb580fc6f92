// A borderless button showing one symbol that opens a menu below itself:
// no frame, no menu arrow, just the glyph (darker while hovered or pressed,
// an accent ring while it has keyboard focus).
#pragma once

#include "ui/components/SymbolView.h"

#include <QAbstractButton>

class QMenu;

namespace orbistat::ui {

class MenuButton : public QAbstractButton {
    Q_OBJECT
public:
    MenuButton(const QString& symbol, int points, QMenu* menu, QWidget* parent = nullptr);

    QMenu* menu() const { return menu_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void openMenu();

    SymbolGlyphs glyph_;
    QMenu* menu_;
    bool hovered_ = false;
};

} // namespace orbistat::ui
