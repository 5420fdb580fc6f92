// The object that LinuxStatusNotifierItem puts on the bus at
// /StatusNotifierItem: it answers the org.kde.StatusNotifierItem properties,
// their introspection and the protocol's methods.
//
// A panel reads the image and the tool tip again after every New… signal,
// which with values that change is every tick. QtDBus reads the socket on
// its own thread and hands each call to the thread the registered object
// lives in; living in that thread, this object answers the reads there,
// and the program's main thread is not woken for them. So it holds copies
// of the image and the tool tip, set from the main thread under a lock, and
// it never reaches back into the item: a click is reported through the
// `clicked` signal, queued to whoever listens.
#pragma once

#include "platform/StatusItem.h"
#include "platform/linux/StatusNotifierTypes.h"

#include <QMutex>
#include <QObject>
#include <QString>

namespace orbistat {

class StatusNotifierItemResponder : public QObject {
    Q_OBJECT
public:
    // Id, title and the menu's object path do not change afterwards.
    StatusNotifierItemResponder(const QString& id, const QString& title, const QString& menuPath);
    // Delete only once unregistered from the bus (see the definition).
    ~StatusNotifierItemResponder() override;

    // Called from any thread; a read that follows the call sees the new value.
    void setImages(const SniImageList& images);
    void setToolTipText(const QString& text);

    // Read by the adaptor, in this object's thread.
    QString id() const { return id_; }
    QString title() const { return title_; }
    QString menuPath() const { return menuPath_; }
    SniImageList images() const;
    SniToolTip toolTip() const;
    void click(StatusItem::Click click, int x, int y) { emit clicked(click, x, y); }

signals:
    // Emitted in this object's thread: connect with a queued connection.
    void clicked(orbistat::StatusItem::Click click, int x, int y);

private:
    const QString id_;
    const QString title_;
    const QString menuPath_;
    mutable QMutex mutex_;
    // Shared with the item's own copies (implicitly shared: copied under the
    // lock, the pixels are not duplicated).
    SniImageList images_;
    QString toolTipText_;
};

} // namespace orbistat
