// A thin horizontal separator line across the width it is given.
#pragma once

#include <QWidget>

namespace orbistat::ui {

class Divider : public QWidget {
    Q_OBJECT
public:
    explicit Divider(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {1, 1}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orbistat::ui
