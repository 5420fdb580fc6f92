#include "platform/linux/LinuxAutostartEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orbistat {

namespace {

constexpr char entryName[] = "orbistat.desktop";
// An entry larger than this is not one we wrote; reading stops there.
constexpr qsizetype maxEntryBytes = 64 * 1024;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_;
};

// One argument of an Exec line, always quoted. Inside quotes the Exec rules
// escape ", `, $ and \ with a backslash; the string-value rules then escape
// every backslash once more, and "%" is written "%%" so that it is not read
// as a field code.
std::optional<QByteArray> quotedExecArgument(const QString& argument)
{
    QByteArray quoted = "\"";
    for (const char c : argument.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return std::nullopt;
        if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        else if (c == '\\')
            quoted += "\\\\\\";
        else if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

// The folder, opened without following a link; -1 when it is missing, a
// link or not a folder.
int openFolder(const QByteArray& path)
{
    return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

LinuxAutostartEntry::LinuxAutostartEntry(QString configHome, QString executable)
    : configHome_(std::move(configHome))
    , executable_(std::move(executable))
{
}

LinuxAutostartEntry LinuxAutostartEntry::forThisProgram(const QString& executable)
{
    // XDG rules: a relative $XDG_CONFIG_HOME is
    // invalid and must be ignored.
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return LinuxAutostartEntry(configHome, executable.isEmpty() ? QCoreApplication::applicationFilePath() : executable);
}

QString LinuxAutostartEntry::entryPath() const
{
    return configHome_ + QStringLiteral("/autostart/") + QLatin1String(entryName);
}

std::optional<QByteArray> LinuxAutostartEntry::entryText(const QString& executable)
{
    const auto exec = quotedExecArgument(executable);
    if (!exec || !QDir::isAbsolutePath(executable))
        return std::nullopt;
    return QByteArray("[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=Orbistat\n"
                      "GenericName=System Monitor\n"
                      "Comment=Starts the Orbistat system monitor when you log in\n"
                      "Exec=") + *exec + QByteArray("\n"
                      "Icon=orbistat\n"
                      "Terminal=false\n"
                      "StartupNotify=false\n"
                      "X-GNOME-Autostart-enabled=true\n");
}

bool LinuxAutostartEntry::isHidden(const QByteArray& text)
{
    bool inMainGroup = false;
    for (const auto& rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.startsWith('#'))
            continue;
        const auto equals = line.indexOf('=');
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed() == "Hidden" && line.mid(equals + 1).trimmed() == "true")
            return true;
    }
    return false;
}

bool LinuxAutostartEntry::isEnabled() const
{
    // Reading may follow a link. O_NONBLOCK keeps a FIFO from stalling the
    // open; fstat then tells it apart from a regular file.
    const Descriptor fd(::open(entryPath().toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isOpen())
        return false;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    QByteArray text(maxEntryBytes, Qt::Uninitialized);
    qsizetype length = 0;
    while (length < text.size()) {
        const ssize_t n = ::read(fd.get(), text.data() + length, static_cast<size_t>(text.size() - length));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        length += n;
    }
    text.truncate(length);
    return !isHidden(text);
}

void LinuxAutostartEntry::enable()
{
    writeEntry();
}

bool LinuxAutostartEntry::writeEntry() const
{
    const auto text = entryText(executable_);
    if (!text)
        return false;
    const QByteArray folder = (configHome_ + QStringLiteral("/autostart")).toLocal8Bit();
    // XDG folders we create are private to the user: mode 0700.
    QDir().mkpath(configHome_);
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    const Descriptor dir(openFolder(folder));
    if (!dir.isOpen())
        return false;

    struct stat existing {};
    if (::fstatat(dir.get(), entryName, &existing, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(existing.st_mode))
        return false;  // a link or something else the person put there

    // Written beside the entry, then renamed over it: a reader never sees
    // half an entry, and the rename replaces a name, never a link's target.
    const QByteArray temporary = QByteArray(".") + entryName + '.' + QByteArray::number(::getpid());
    ::unlinkat(dir.get(), temporary.constData(), 0);  // left over from an interrupted write
    const Descriptor file(::openat(dir.get(), temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file.isOpen())
        return false;
    const bool written = writeAll(file.get(), *text) && ::fsync(file.get()) == 0;
    if (!written || ::renameat(dir.get(), temporary.constData(), dir.get(), entryName) != 0) {
        ::unlinkat(dir.get(), temporary.constData(), 0);
        return false;
    }
    return true;
}

void LinuxAutostartEntry::disable()
{
    const Descriptor dir(openFolder((configHome_ + QStringLiteral("/autostart")).toLocal8Bit()));
    if (!dir.isOpen())
        return;
    struct stat existing {};
    if (::fstatat(dir.get(), entryName, &existing, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(existing.st_mode))
        return;
    ::unlinkat(dir.get(), entryName, 0);
}

} // namespace orbistat
