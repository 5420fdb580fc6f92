// An on/off switch row of a grouped form: the label (with an optional symbol
// in front) on the left, a sliding switch on the right. It is a QCheckBox
// underneath, so clicks anywhere on the row, the space bar, focus and the
// accessibility role and state behave as a check box's do; only the drawing
// differs.
#pragma once

#include <QCheckBox>
#include <QString>

namespace orbistat::ui {

class ToggleSwitch : public QCheckBox {
    Q_OBJECT
public:
    explicit ToggleSwitch(const QString& text, const QString& symbol = {}, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int trackWidth = 32;
    static constexpr int trackHeight = 18;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    QString symbol_;  // the glyph text, empty without a symbol
};

} // namespace orbistat::ui
