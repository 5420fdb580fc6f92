// The large figure at the top of the memory, disk and battery cards: the
// value (20, semibold, primary) and after it a caption (12, secondary) on
// the same baseline, leading-aligned; the rest of the line stays empty.
#pragma once

#include "ui/components/DrawnAccessibility.h"
#include "ui/components/TextRun.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace orbistat::ui {

class ValueHeadline : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr int valuePoints = 20;
    static constexpr int captionPoints = 12;
    static constexpr double spacing = 6.0;

    explicit ValueHeadline(QWidget* parent = nullptr);

    // An empty caption draws nothing after the value.
    void setTexts(const QString& value, const QString& caption);
    const QString& value() const { return value_.text(); }
    const QString& caption() const { return caption_.text(); }
    // The baseline both texts sit on, from the top.
    double baseline() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TextRun value_;
    TextRun caption_;
};

} // namespace orbistat::ui
