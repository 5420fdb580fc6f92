// A plain container that stacks its parts vertically (or lines them up
// horizontally) at a fixed spacing, without margins: the groups of rows
// inside a card, which are shown and hidden as one.
#pragma once

#include <QBoxLayout>
#include <QWidget>

namespace orbistat::ui {

class Column : public QWidget {
    Q_OBJECT
public:
    explicit Column(int spacing, QBoxLayout::Direction direction = QBoxLayout::TopToBottom, QWidget* parent = nullptr);

    QBoxLayout* box() const { return box_; }
    void add(QWidget* part, int stretch = 0, Qt::Alignment alignment = {});

private:
    QBoxLayout* box_;
};

} // namespace orbistat::ui
