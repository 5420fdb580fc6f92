// Tells the host when the monitor asks the widgets to reload: the monitor
// touches the file "reload" in the shared store folder.
//
// The folder is watched, not the file: the file is replaced atomically on
// each touch, which ends a watch on the file itself. The folder also changes
// on every snapshot the monitor writes (each tick), so a change counts only
// when the reload file's identity or time stamp differs from the last one
// seen. While the folder does not exist yet (the monitor has never run), its
// nearest existing parent is watched so its creation is noticed. Nothing is
// polled and nothing is written.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <optional>

namespace orbistat::widget {

class ReloadWatcher : public QObject {
    Q_OBJECT

public:
    // No folder (no application group): nothing to watch, never signals.
    explicit ReloadWatcher(std::optional<QString> storeFolder, QObject* parent = nullptr);

    QStringList watchedPaths() const;

signals:
    void reloadRequested();

private:
    struct Stamp {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    Stamp readStamp() const;
    void rearm();
    void onChange();

    std::optional<QString> folder_;
    QString reloadPath_;
    QFileSystemWatcher watcher_;
    Stamp last_;
};

} // namespace orbistat::widget
