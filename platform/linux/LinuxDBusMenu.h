// The tray item's menu, exported over com.canonical.dbusmenu so that the
// panel draws it in its own style: a flat list of entries under the root
// (id 0). Hosts ask for the layout (GetLayout), for item properties
// (GetGroupProperties, GetProperty) and send "clicked" events; the chosen
// entry is reported after the D-Bus reply has gone out, so an entry that
// quits the program still answers the panel first.
#pragma once

#include "platform/StatusItem.h"
#include "platform/linux/DBusMenuTypes.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <functional>
#include <optional>
#include <vector>

namespace orbistat {

// QDBusContext belongs to the exported object (QtDBus sets the calling
// message there, not on its adaptor); the adaptor answers errors through it.
class LinuxDBusMenu : public QObject, public QDBusContext {
    Q_OBJECT
public:
    // Exports the menu at `path` on the connection (the object stays
    // exported while this lives).
    LinuxDBusMenu(QDBusConnection bus, const QString& path, QObject* parent = nullptr);
    ~LinuxDBusMenu() override;

    QString path() const { return path_; }
    bool isExported() const { return exported_; }

    // Replaces the entries; hosts are told the layout changed.
    void setEntries(const std::vector<StatusMenuEntry>& entries);
    const std::vector<StatusMenuEntry>& entries() const { return entries_; }
    uint revision() const { return revision_; }

    std::function<void(int entryId)> onEntry;

    // The protocol's requests, as the adaptor forwards them. Absent for an
    // id that is not in the menu.
    std::optional<DBusMenuLayoutItem> layout(int parentId, int depth, const QStringList& propertyNames) const;
    std::optional<QVariantMap> properties(int id, const QStringList& propertyNames) const;
    // True when the id exists; a "clicked" on an action entry is reported.
    bool handleEvent(int id, const QString& eventId);

signals:
    void layoutUpdated(uint revision, int parent);

private:
    const StatusMenuEntry* find(int id) const;

    QDBusConnection bus_;
    QString path_;
    bool exported_ = false;
    std::vector<StatusMenuEntry> entries_;
    uint revision_ = 1;
};

} // namespace orbistat
