// A row of joined buttons of which exactly one is selected (the menu bar
// layout picker). Each segment is a checkable button with the segment's
// title as its accessible name; the arrow keys move the selection.
#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace orbistat::ui {

class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    SegmentedControl(const QStringList& titles, QWidget* parent = nullptr);

    int currentIndex() const;
    // Selects without emitting `activated`; -1 selects nothing.
    void setCurrentIndex(int index);
    QAbstractButton* segment(int index) const;
    int count() const { return static_cast<int>(segments_.size()); }

signals:
    // The person picked a segment (mouse or keyboard).
    void activated(int index);

private:
    void pick(int index);

    QButtonGroup group_;
    std::vector<QAbstractButton*> segments_;
};

} // namespace orbistat::ui
