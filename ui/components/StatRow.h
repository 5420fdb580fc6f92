// One label–value line in the system font at 11: an optional 7-point dot in
// a colour (or a leading symbol), the label in secondary, a flexible gap of
// at least 4 and the value in primary. Both texts are plain and elided when
// the row is too narrow: the value keeps its width while it fits in 60 % of
// the row, so a long sensor name gives way before a reading does.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextRun.h"

#include <QFont>
#include <QString>
#include <QWidget>
#include <optional>

namespace orbistat::ui {

class StatRow : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr int fontPoints = 11;
    static constexpr double dotSize = 7.0;
    static constexpr double spacing = 6.0;
    static constexpr double minimumGap = 4.0;

    explicit StatRow(const QString& label = QString(), std::optional<ColorRole> dot = std::nullopt, QWidget* parent = nullptr);

    void setLabel(const QString& label);
    void setValue(const QString& value);
    void setDot(std::optional<ColorRole> dot);
    // A symbol in front of the label instead of a dot ("wifi" with its
    // signal fill).
    void setLeadingSymbol(const QString& name, ColorRole color, std::optional<double> variableValue);

    const QString& label() const { return label_.text(); }
    const QString& value() const { return value_.text(); }
    std::optional<ColorRole> dot() const { return dot_; }
    QString leadingSymbol() const { return symbol_ ? symbol_->symbol() : QString(); }
    std::optional<double> leadingSymbolValue() const { return symbolValue_; }

    // Where the parts land at a width, for drawing and for tests.
    struct Geometry {
        QRectF dot;     // empty without a dot or symbol
        QRectF label;
        QRectF value;
    };
    Geometry geometry(double width) const;
    QString shownLabel() const;
    QString shownValue() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    double leadingWidth() const;
    void textChanged(int oldWidth);

    TextRun label_;
    TextRun value_;
    std::optional<ColorRole> dot_;
    std::optional<SymbolGlyphs> symbol_;
    ColorRole symbolColor_ = ColorRole::accent;
    std::optional<double> symbolValue_;
    int lineHeight_ = 0;
};

} // namespace orbistat::ui
