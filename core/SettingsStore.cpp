#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orbistat {

namespace {

QString joinedRawValues(auto table)
{
    QStringList values;
    for (const auto& entry : table)
        values.append(QString::fromLatin1(entry.rawValue));
    return values.join(QLatin1Char(','));
}

// A settings file is a few hundred bytes; one far larger is not ours.
constexpr qint64 maxSettingsBytes = 1024 * 1024;

// The bytes of a regular file of at most maxSettingsBytes; absent for
// anything else. Opened with O_NONBLOCK, so a FIFO in the file's place
// cannot block the open, and the type is checked on the open descriptor.
std::optional<QByteArray> readSettingsBytes(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= maxSettingsBytes) {
        QByteArray content(static_cast<qsizetype>(status.st_size), Qt::Uninitialized);
        qsizetype filled = 0;
        while (filled < content.size()) {
            const auto n = ::read(fd, content.data() + filled, static_cast<size_t>(content.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            filled += n;
        }
        content.truncate(filled);
        bytes = std::move(content);
    }
    ::close(fd);
    return bytes;
}

template <typename T>
const T* findKept(const auto& kept, QAnyStringView key)
{
    for (const auto& entry : kept) {
        if (QAnyStringView::equal(entry.key, key))
            return &entry.value;
    }
    return nullptr;
}

double registeredDouble(QAnyStringView key)
{
    const auto& defaults = SettingsStore::registeredDefaults();
    const auto it = defaults.find(key.toString());
    return it != defaults.end() ? it->second.toDouble() : 0.0;
}

// QSettings turns an unquoted "a,b" of a hand-edited INI file into a list;
// the settings hold it as the text it was.
std::optional<QString> asText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    if (value.canConvert<QString>())
        return value.toString();
    return std::nullopt;
}

// The thresholds move in steps of 0.05; a sum such as 0.9 + 0.05 lands
// beside the step (0.9500000000000001) and would be stored and shown so.
// Rounding to whole hundredths gives the value the step means.
double toHundredths(double value)
{
    return std::round(value * 100.0) / 100.0;
}

} // namespace

std::set<QString> parseSet(const QString& text)
{
    std::set<QString> set;
    for (const auto& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        set.insert(piece);
    return set;
}

std::vector<MenuBarModule> parseModuleOrder(const QString& text)
{
    std::vector<MenuBarModule> order;
    const auto take = [&order](MenuBarModule module) {
        if (std::find(order.begin(), order.end(), module) == order.end())
            order.push_back(module);
    };
    for (const auto& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (const auto module = menuBarModuleFromRaw(piece))
            take(*module);
    }
    for (const auto& entry : menuBarModuleTable)
        take(entry.module);
    return order;
}

QString joinSet(const std::set<QString>& set)
{
    // std::set<QString> is ordered by QString::operator<, which compares
    // UTF-16 code units: the ascending lexicographic order of the texts.
    QStringList items(set.begin(), set.end());
    return items.join(QLatin1Char(','));
}

SettingsStore::SettingsStore(const QString& filePath, QObject* parent)
    : QObject(parent)
    , filePath_(filePath)
    , watch_(filePath)
{
    connect(&watch_, &SettingsFileWatch::changed, this, &SettingsStore::fileMaybeChanged);
    lastFingerprint_ = fileFingerprint();
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFilePath()
{
    // Where QSettings keeps an organisation's native settings on Linux,
    // $XDG_CONFIG_HOME/Orbistat/Orbistat.conf (default ~/.config), the file
    // read as INI. Worked out here rather than asked of a QSettings, which
    // would read the file (and block on a FIFO) just to name it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Orbistat/Orbistat.conf");
}

const std::map<QString, QVariant>& SettingsStore::registeredDefaults()
{
    static const std::map<QString, QVariant> defaults = {
        {SettingsKey::updateInterval, 2.0},
        {SettingsKey::menuBarOrder, joinedRawValues(menuBarModuleTable)},
        {SettingsKey::menuBarEnabled, QStringLiteral("cpu,memory")},
        {SettingsKey::menuBarStyle, QStringLiteral("stacked")},
        {SettingsKey::menuBarColorize, true},
        {SettingsKey::warningThreshold, 0.75},
        {SettingsKey::criticalThreshold, 0.9},
        {SettingsKey::visibleCards, joinedRawValues(popoverCardTable)},
        {SettingsKey::alertsEnabled, false},
        {SettingsKey::alertCPU, true},
        {SettingsKey::alertMemory, true},
        {SettingsKey::alertDisk, true},
        {SettingsKey::alertBattery, true},
        {SettingsKey::alertTemperature, true},
        {SettingsKey::alertDuration, 30.0},
        {SettingsKey::diskAlertThreshold, 0.92},
    };
    return defaults;
}

SettingsStore::FileKind SettingsStore::fileKind() const
{
    const QByteArray path = QFile::encodeName(filePath_);
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0)
        return errno == ENOENT ? FileKind::absent : FileKind::unusable;
    if (S_ISLNK(status.st_mode)) {
        // Read through (a settings file kept elsewhere), never written
        // through: see replaceLink().
        if (::stat(path.constData(), &status) != 0)
            return FileKind::link;  // dangling: reads as no file
        return S_ISREG(status.st_mode) && status.st_size <= maxSettingsBytes ? FileKind::link : FileKind::unusable;
    }
    return S_ISREG(status.st_mode) && status.st_size <= maxSettingsBytes ? FileKind::regular : FileKind::unusable;
}

bool SettingsStore::isFileUsable() const
{
    if (fileKind() != FileKind::unusable)
        return true;
    if (!reportedUnusable_) {
        reportedUnusable_ = true;
        std::fprintf(stderr, "orbistat: ignoring the settings file %s: it is not a regular file of at most 1 MiB; using the defaults\n",
                     QFile::encodeName(filePath_).constData());
    }
    return false;
}

QSettings& SettingsStore::settings() const
{
    // Made on first use, once the file was found usable: QSettings reads
    // the file as it is made.
    if (!settings_)
        settings_.emplace(filePath_, QSettings::IniFormat);
    return *settings_;
}

void SettingsStore::refresh() const
{
    if (!watch_.takeChange())
        return;
    // sync() re-reads the file when it changed on disk; a file that is
    // not ours (see isFileUsable()) is not read at all.
    if (isFileUsable())
        settings().sync();
    forgetDerived();
}

void SettingsStore::forgetDerived() const
{
    ++generation_;
    doubles_.clear();
    bools_.clear();
    texts_.clear();
    style_.reset();
}

std::optional<QVariant> SettingsStore::storedValue(QAnyStringView key) const
{
    const QString name = key.toString();
    // A FIFO, a device or a huge file in the settings' place is never read
    // (reading it would block or fill memory): the defaults apply, with
    // whatever this run stored meanwhile.
    if (!isFileUsable()) {
        const auto unsaved = unsaved_.find(name);
        return unsaved == unsaved_.end() ? std::nullopt : unsaved->second;
    }
    auto& store = settings();
    if (!store.contains(name))
        return std::nullopt;
    return store.value(name);
}

double SettingsStore::doubleValue(QAnyStringView key) const
{
    refresh();
    if (const auto* kept = findKept<double>(doubles_, key))
        return *kept;
    const double value = readDouble(key);
    doubles_.push_back({key.toString(), value});
    return value;
}

bool SettingsStore::boolValue(QAnyStringView key) const
{
    refresh();
    if (const auto* kept = findKept<bool>(bools_, key))
        return *kept;
    const bool value = readBool(key);
    bools_.push_back({key.toString(), value});
    return value;
}

std::optional<QString> SettingsStore::textValue(QAnyStringView key) const
{
    refresh();
    if (const auto* kept = findKept<std::optional<QString>>(texts_, key))
        return *kept;
    auto value = readText(key);
    texts_.push_back({key.toString(), value});
    return value;
}

double SettingsStore::readDouble(QAnyStringView key) const
{
    const double fallback = registeredDouble(key);
    const auto stored = storedValue(key);
    if (!stored)
        return fallback;
    const auto text = asText(*stored);
    if (!text)
        return fallback;
    bool ok = false;
    const double value = text->trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

bool SettingsStore::readBool(QAnyStringView key) const
{
    const auto& defaults = registeredDefaults();
    const auto it = defaults.find(key.toString());
    const bool fallback = it != defaults.end() && it->second.toBool();
    const auto stored = storedValue(key);
    if (!stored)
        return fallback;
    if (stored->typeId() == QMetaType::Bool)
        return stored->toBool();
    const auto text = asText(*stored);
    if (!text)
        return fallback;
    const auto word = text->trimmed().toLower();
    if (word == QLatin1String("true") || word == QLatin1String("1"))
        return true;
    if (word == QLatin1String("false") || word == QLatin1String("0"))
        return false;
    return fallback;
}

std::optional<QString> SettingsStore::readText(QAnyStringView key) const
{
    if (const auto stored = storedValue(key)) {
        if (auto text = asText(*stored))
            return text;
    }
    const auto& defaults = registeredDefaults();
    if (const auto it = defaults.find(key.toString()); it != defaults.end())
        return it->second.toString();
    return std::nullopt;
}

void SettingsStore::setValue(const QString& key, const QVariant& value)
{
    if (prepareWrite())
        settings().setValue(key, value);
    else
        unsaved_[key] = value;
    written();
}

void SettingsStore::remove(const QString& key)
{
    if (prepareWrite())
        settings().remove(key);
    else
        unsaved_[key] = std::nullopt;
    written();
}

bool SettingsStore::prepareWrite()
{
    if (!isFileUsable())
        return false;  // nothing is written over what is not ours
    if (fileKind() == FileKind::link && !replaceLink())
        return false;
    return true;
}

bool SettingsStore::replaceLink()
{
    // QSettings would write through the link into its target. Instead a
    // regular file with the target's content takes the link's place (the
    // target stays as it was), and the write goes there.
    const QFileInfo info(filePath_);
    QTemporaryFile copy(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        return false;
    const auto bytes = readSettingsBytes(filePath_).value_or(QByteArray());
    if (copy.write(bytes) != bytes.size() || !copy.flush())
        return false;
    if (::rename(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(filePath_).constData()) != 0)
        return false;
    copy.setAutoRemove(false);
    return true;
}

void SettingsStore::written()
{
    if (isFileUsable())
        settings().sync();
    forgetDerived();
    lastFingerprint_ = fileFingerprint();
    if (QThread::currentThread() == thread())
        emit changed();
    else
        QMetaObject::invokeMethod(this, &SettingsStore::changed, Qt::QueuedConnection);
}

QByteArray SettingsStore::fileFingerprint() const
{
    const auto bytes = readSettingsBytes(filePath_);
    if (!bytes)
        return {};
    return QCryptographicHash::hash(*bytes, QCryptographicHash::Sha1);
}

void SettingsStore::fileMaybeChanged()
{
    const auto fingerprint = fileFingerprint();
    if (fingerprint == lastFingerprint_)
        return;  // our own save, or a change elsewhere in the folder
    lastFingerprint_ = fingerprint;
    emit changed();
}

const std::vector<MenuBarModule>& SettingsStore::enabledMenuBarModules() const
{
    refresh();
    if (modulesGeneration_ != generation_) {
        // Both texts from the same reading of the file.
        const auto enabled = parseSet(readText(SettingsKey::menuBarEnabled).value_or(QString()));
        const auto order = parseModuleOrder(readText(SettingsKey::menuBarOrder).value_or(QString()));
        modules_.clear();
        for (const auto module : order) {
            if (enabled.count(rawValue(module)))
                modules_.push_back(module);
        }
        modulesGeneration_ = generation_;
    }
    return modules_;
}

MenuBarStyle SettingsStore::currentMenuBarStyle() const
{
    refresh();
    if (!style_) {
        const auto stored = storedValue(SettingsKey::menuBarStyle);
        const auto text = stored ? asText(*stored).value_or(QString()) : QString();
        style_ = menuBarStyleFromRaw(text).value_or(MenuBarStyle::stacked);
    }
    return *style_;
}

const std::set<QString>& SettingsStore::visibleCards() const
{
    refresh();
    if (cardsGeneration_ != generation_) {
        cards_ = parseSet(readText(SettingsKey::visibleCards).value_or(QString()));
        cardsGeneration_ = generation_;
    }
    return cards_;
}

bool SettingsStore::isCardVisible(PopoverCard card) const
{
    return visibleCards().count(rawValue(card)) > 0;
}

void SettingsStore::toggleInSet(const QString& key, const QString& raw, bool on)
{
    auto set = parseSet(textValue(key).value_or(QString()));
    if (on)
        set.insert(raw);
    else
        set.erase(raw);
    setValue(key, joinSet(set));
}

void SettingsStore::setModuleEnabled(MenuBarModule module, bool enabled)
{
    toggleInSet(SettingsKey::menuBarEnabled, rawValue(module), enabled);
}

void SettingsStore::setCardVisible(PopoverCard card, bool visible)
{
    toggleInSet(SettingsKey::visibleCards, rawValue(card), visible);
}

void SettingsStore::moveModule(MenuBarModule module, int step)
{
    auto order = parseModuleOrder(textValue(SettingsKey::menuBarOrder).value_or(QString()));
    const auto it = std::find(order.begin(), order.end(), module);
    const auto index = static_cast<long>(it - order.begin());
    const auto target = index + step;
    if (target < 0 || target >= static_cast<long>(order.size()))
        return;
    std::swap(order[static_cast<size_t>(index)], order[static_cast<size_t>(target)]);
    QStringList raw;
    for (const auto m : order)
        raw.append(rawValue(m));
    setValue(SettingsKey::menuBarOrder, raw.join(QLatin1Char(',')));
}

void SettingsStore::setWarningThreshold(double warning)
{
    setValue(SettingsKey::warningThreshold, warning);
    if (doubleValue(SettingsKey::criticalThreshold) <= warning)
        setValue(SettingsKey::criticalThreshold, std::min(toHundredths(warning + 0.05), 1.0));
}

void SettingsStore::setCriticalThreshold(double critical)
{
    setValue(SettingsKey::criticalThreshold, critical);
    if (doubleValue(SettingsKey::warningThreshold) >= critical)
        setValue(SettingsKey::warningThreshold, std::max(toHundredths(critical - 0.05), 0.5));
}

} // namespace orbistat
