// A compact push button for an action inside a card ("Fix"): the label at
// 11 on a small rounded plate, darker while pressed, with an accent ring
// while it has keyboard focus. Still a QPushButton, so the keyboard and
// screen readers treat it as one.
#pragma once

#include <QPushButton>

namespace orbistat::ui {

class SmallButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int fontPoints = 11;

    explicit SmallButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orbistat::ui
