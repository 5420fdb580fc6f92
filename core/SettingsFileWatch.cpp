#include "core/SettingsFileWatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace orbistat {

namespace {

// Everything that can change what the folder's entry for the file holds:
// written in place, replaced by a rename (how QSettings and most editors
// save), created, removed.
constexpr uint32_t folderEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// The file itself, followed through a symbolic link (a settings file kept
// with other dotfiles): an edit of the target changes no folder entry here.
// IN_ATTRIB also reports the link count dropping when it is replaced.
constexpr uint32_t fileEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
constexpr uint32_t ancestorEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t watchGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

} // namespace

SettingsFileWatch::SettingsFileWatch(const QString& filePath, QObject* parent)
    : QObject(parent)
{
    const QFileInfo info(filePath);
    folder_ = QFile::encodeName(info.absolutePath());
    fileName_ = QFile::encodeName(info.fileName());

    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    arm();
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        if (drain()) {
            pending_ = true;
            announce();
        }
    });
}

SettingsFileWatch::~SettingsFileWatch()
{
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

void SettingsFileWatch::arm()
{
    folderWatch_ = ::inotify_add_watch(fd_, folder_.constData(), folderEvents);
    if (folderWatch_ < 0) {
        // Until the folder exists, the creation of the next folder on the
        // way to it is what to look for, in the nearest folder that exists.
        QByteArray ancestor = folder_;
        int watch = -1;
        while (watch < 0 && ancestor.size() > 1) {
            const auto slash = ancestor.lastIndexOf('/');
            ancestorChild_ = ancestor.mid(slash + 1);
            ancestor.truncate(qMax(slash, qsizetype{1}));
            watch = ::inotify_add_watch(fd_, ancestor.constData(), ancestorEvents);
        }
        if (ancestorWatch_ >= 0 && ancestorWatch_ != watch)
            ::inotify_rm_watch(fd_, ancestorWatch_);
        ancestorWatch_ = watch;
        // The folder may have appeared meanwhile.
        folderWatch_ = ::inotify_add_watch(fd_, folder_.constData(), folderEvents);
    }
    if (folderWatch_ >= 0 && ancestorWatch_ >= 0) {
        ::inotify_rm_watch(fd_, ancestorWatch_);
        ancestorWatch_ = -1;
    }
    const QByteArray file = folder_ + '/' + fileName_;
    fileWatch_ = folderWatch_ >= 0 ? ::inotify_add_watch(fd_, file.constData(), fileEvents) : -1;
}

bool SettingsFileWatch::drain()
{
    bool relevant = false;
    bool rearm = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const QByteArray name = event->len > 0 ? QByteArray(event->name) : QByteArray();
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost: anything may have happened.
                relevant = rearm = true;
            } else if (event->wd == folderWatch_) {
                if (event->mask & watchGone) {
                    folderWatch_ = -1;
                    relevant = rearm = true;
                } else if (name == fileName_) {
                    // A new file under the name needs its own watch.
                    relevant = true;
                    rearm = rearm || (event->mask & (IN_CREATE | IN_MOVED_TO));
                }
            } else if (event->wd == fileWatch_) {
                relevant = true;
                rearm = rearm || (event->mask & (watchGone | IN_ATTRIB));
            } else if (event->wd == ancestorWatch_) {
                if (event->mask & watchGone) {
                    ancestorWatch_ = -1;
                    rearm = true;
                } else if (name == ancestorChild_) {
                    relevant = rearm = true;
                }
            }
            // Events of watches already replaced are of no interest.
        }
    }
    if (rearm)
        arm();
    return relevant;
}

bool SettingsFileWatch::takeChange()
{
    if (fd_ < 0)
        return true;
    if (folderWatch_ < 0 && ancestorWatch_ < 0) {
        // Nothing watched: no event would come, so every read re-reads.
        arm();
        return true;
    }
    if (drain()) {
        pending_ = true;
        announce();
    }
    return std::exchange(pending_, false);
}

void SettingsFileWatch::announce()
{
    if (announcing_)
        return;
    announcing_ = true;
    QMetaObject::invokeMethod(this, [this] {
        announcing_ = false;
        emit changed();
    }, Qt::QueuedConnection);
}

} // namespace orbistat
