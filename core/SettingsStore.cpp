#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace orbistat {

namespace {

QString joinedRawValues(auto table)
{
    QStringList values;
    for (const auto& entry : table)
        values.append(QString::fromLatin1(entry.rawValue));
    return values.join(QLatin1Char(','));
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
    , settings_(filePath, QSettings::IniFormat)
{
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SettingsStore::fileMaybeChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &SettingsStore::fileMaybeChanged);
    watchFile();
    lastFingerprint_ = fileFingerprint();
}

QString SettingsStore::defaultFilePath()
{
    // The native format's name on Linux is ~/.config/Orbistat/Orbistat.conf
    // (the INI format's would end in .ini); the file itself is read as INI.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orbistat"), QStringLiteral("Orbistat")).fileName();
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

std::optional<QVariant> SettingsStore::storedValue(const QString& key) const
{
    // sync() re-reads the file when another process changed it: nothing
    // here is a cached copy.
    settings_.sync();
    if (!settings_.contains(key))
        return std::nullopt;
    return settings_.value(key);
}

double SettingsStore::doubleValue(const QString& key) const
{
    const auto& defaults = registeredDefaults();
    const auto fallback = defaults.count(key) ? defaults.at(key).toDouble() : 0.0;
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

bool SettingsStore::boolValue(const QString& key) const
{
    const auto& defaults = registeredDefaults();
    const bool fallback = defaults.count(key) ? defaults.at(key).toBool() : false;
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

std::optional<QString> SettingsStore::textValue(const QString& key) const
{
    if (const auto stored = storedValue(key)) {
        if (auto text = asText(*stored))
            return text;
    }
    const auto& defaults = registeredDefaults();
    if (const auto it = defaults.find(key); it != defaults.end())
        return it->second.toString();
    return std::nullopt;
}

void SettingsStore::setValue(const QString& key, const QVariant& value)
{
    settings_.setValue(key, value);
    written();
}

void SettingsStore::remove(const QString& key)
{
    settings_.remove(key);
    written();
}

void SettingsStore::written()
{
    settings_.sync();
    lastFingerprint_ = fileFingerprint();
    watchFile();
    if (QThread::currentThread() == thread())
        emit changed();
    else
        QMetaObject::invokeMethod(this, &SettingsStore::changed, Qt::QueuedConnection);
}

void SettingsStore::watchFile()
{
    // QSettings replaces the file on save, which ends a watch on the file
    // itself; the folder watch notices the new file.
    const QFileInfo info(settings_.fileName());
    QDir().mkpath(info.absolutePath());
    if (!watcher_.directories().contains(info.absolutePath()))
        watcher_.addPath(info.absolutePath());
    if (info.exists() && !watcher_.files().contains(info.absoluteFilePath()))
        watcher_.addPath(info.absoluteFilePath());
}

QByteArray SettingsStore::fileFingerprint() const
{
    QFile file(settings_.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

void SettingsStore::fileMaybeChanged()
{
    watchFile();
    const auto fingerprint = fileFingerprint();
    if (fingerprint == lastFingerprint_)
        return;  // our own save, or a change elsewhere in the folder
    lastFingerprint_ = fingerprint;
    emit changed();
}

std::vector<MenuBarModule> SettingsStore::enabledMenuBarModules() const
{
    const auto enabled = parseSet(textValue(SettingsKey::menuBarEnabled).value_or(QString()));
    const auto order = parseModuleOrder(textValue(SettingsKey::menuBarOrder).value_or(QString()));
    std::vector<MenuBarModule> modules;
    for (const auto module : order) {
        if (enabled.count(rawValue(module)))
            modules.push_back(module);
    }
    return modules;
}

MenuBarStyle SettingsStore::currentMenuBarStyle() const
{
    const auto stored = storedValue(SettingsKey::menuBarStyle);
    const auto text = stored ? asText(*stored).value_or(QString()) : QString();
    const auto style = menuBarStyleFromRaw(text);
    return style.value_or(MenuBarStyle::stacked);
}

std::set<QString> SettingsStore::visibleCards() const
{
    return parseSet(textValue(SettingsKey::visibleCards).value_or(QString()));
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
