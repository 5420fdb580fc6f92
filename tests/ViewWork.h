// Counts the paint and layout events that reach a widget or its children:
// the popover tests and the popover benchmark use it to show that a hidden
// view does no work.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace orbistat::test {

class ViewWork : public QObject {
public:
    explicit ViewWork(QWidget& view)
        : view_(view)
    {
        qApp->installEventFilter(this);
    }
    ~ViewWork() override { qApp->removeEventFilter(this); }

    int paints = 0;
    int layouts = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget && (widget == &view_ || view_.isAncestorOf(widget))) {
            if (event->type() == QEvent::Paint)
                ++paints;
            else if (event->type() == QEvent::LayoutRequest)
                ++layouts;
        }
        return false;
    }

private:
    QWidget& view_;
};

} // namespace orbistat::test
