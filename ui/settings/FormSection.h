// One section of a grouped form: an optional title, a rounded panel holding
// rows separated by thin lines, and an optional footer in the secondary text
// colour. Disabling the section greys out and locks every row in it.
#pragma once

#include <QLabel>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

namespace orbistat::ui {

class FormSection : public QWidget {
    Q_OBJECT
public:
    // An empty title or footer leaves that part out.
    explicit FormSection(const QString& title = {}, const QString& footer = {}, QWidget* parent = nullptr);

    // Adds a row at the bottom of the panel; the section takes ownership.
    // `padding` is the space above and below the row's content.
    void addRow(QWidget* row, int padding = -1);
    // A row of a text on the left and a control on the right; the text is
    // the control's buddy and its accessible name.
    QWidget* addLabeledRow(const QString& text, QWidget* control);
    // Puts rows given to addRow in this order (every row, once).
    void reorderRows(const std::vector<QWidget*>& rows);

    QLabel* titleLabel() const { return title_; }
    QLabel* footerLabel() const { return footer_; }
    QWidget* panel() const { return panel_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* title_ = nullptr;
    QLabel* footer_ = nullptr;
    QWidget* panel_;
    QVBoxLayout* rows_;
    std::vector<QWidget*> rowHolders_;
};

// A label in the secondary text colour of the form's palette, wrapped, plain
// text.
QLabel* makeSecondaryLabel(const QString& text, int points, QWidget* parent = nullptr);

} // namespace orbistat::ui
