// Tells the settings store whether its file may have changed, so that reads
// can be served from memory until it does. An inotify watch on the file's
// folder (or, while the folder does not exist, on its nearest existing
// ancestor, for the next folder on the way to be created) is asked at every
// read without waiting for the event loop: an edit by another process is
// therefore seen by the first read after it, and so by the next tick. The
// same watch announces changes through the event loop for those who follow
// them (the shell re-applies the interval).
//
// Where no watch can be set up (inotify limits reached), every read counts as
// a possible change and the store reads the file every time, as it would
// without a cache.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace orbistat {

class SettingsFileWatch : public QObject {
    Q_OBJECT
public:
    explicit SettingsFileWatch(const QString& filePath, QObject* parent = nullptr);
    ~SettingsFileWatch() override;

    // True when the file may have changed since the last call that returned
    // true (the first call always does). One non-blocking read of the watch
    // when nothing happened.
    bool takeChange();

signals:
    // The file may have changed. Queued to the event loop, also for a change
    // first seen by takeChange().
    void changed();

private:
    // Reads what the watch queued; true when something concerns the file.
    bool drain();
    // (Re)places the watches: the folder and the file if they exist, else
    // the nearest existing ancestor of the folder.
    void arm();
    void announce();

    QByteArray folder_;
    QByteArray fileName_;
    int fd_ = -1;
    int folderWatch_ = -1;
    int fileWatch_ = -1;
    int ancestorWatch_ = -1;
    QByteArray ancestorChild_;  // the next folder on the way, named in its ancestor
    bool pending_ = true;
    bool announcing_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace orbistat
