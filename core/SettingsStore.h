// The user's settings: a QSettings INI file (~/.config/Orbistat/Orbistat.conf)
// with registered defaults held in memory. A value written by the settings
// window or by hand takes effect at the next read: reads are served from
// memory only until the store's own write or a change the file watch reports,
// and the watch is asked at every read (SettingsFileWatch), so nothing waits
// for the event loop. Every write is followed by `changed`, and an edit by
// another process is announced the same way.
//
// The file is read only when it is a regular file (or a link to one) of at
// most 1 MiB. Anything else in its place (a FIFO, a device such as
// /dev/zero, a folder, a huge file) is ignored, said once on standard
// error: reads give the defaults, and writes are kept for this run only,
// so nothing blocks, fills memory or overwrites what is not a settings
// file. A link is read through but never written through: the first write
// replaces it with a regular file. The folder is made by the first write,
// never by a read.
#pragma once

#include "core/MenuBarModule.h"
#include "core/MenuBarStyle.h"
#include "core/PopoverCard.h"

#include "core/SettingsFileWatch.h"

#include <QAnyStringView>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace orbistat {

namespace SettingsKey {
inline constexpr char updateInterval[] = "updateInterval";
inline constexpr char menuBarOrder[] = "menuBarOrder";
inline constexpr char menuBarEnabled[] = "menuBarEnabled";
inline constexpr char menuBarStyle[] = "menuBarStyle";
inline constexpr char menuBarColorize[] = "menuBarColorize";
inline constexpr char warningThreshold[] = "warningThreshold";
inline constexpr char criticalThreshold[] = "criticalThreshold";
inline constexpr char visibleCards[] = "visibleCardsV2";
inline constexpr char alertsEnabled[] = "alertsEnabled";
inline constexpr char alertCPU[] = "alertCPU";
inline constexpr char alertMemory[] = "alertMemory";
inline constexpr char alertDisk[] = "alertDisk";
inline constexpr char alertBattery[] = "alertBattery";
inline constexpr char alertTemperature[] = "alertTemperature";
inline constexpr char alertDuration[] = "alertDuration";
inline constexpr char diskAlertThreshold[] = "diskAlertThreshold";
inline constexpr char settingsTab[] = "settingsTab";  // not registered; "general" where read
} // namespace SettingsKey

// Set lists ("menuBarEnabled", "visibleCardsV2"): split at ",", empty pieces
// dropped, no trimming.
std::set<QString> parseSet(const QString& text);
// All seven modules: the listed ones first (unknown and repeated pieces
// dropped, first occurrence wins), then the rest in declaration order.
std::vector<MenuBarModule> parseModuleOrder(const QString& text);
// Elements in ascending order of their text, joined with ",".
QString joinSet(const std::set<QString>& set);

class SettingsStore : public QObject {
    Q_OBJECT
public:
    // The user's settings file; tests pass a file of their own.
    explicit SettingsStore(const QString& filePath = defaultFilePath(), QObject* parent = nullptr);
    ~SettingsStore() override;

    static QString defaultFilePath();
    // The registered defaults (applied only while a key has no stored value).
    static const std::map<QString, QVariant>& registeredDefaults();

    // Typed reads. A stored value of the wrong type, a non-finite number or
    // an unparsable text reads as the registered default.
    double doubleValue(QAnyStringView key) const;
    bool boolValue(QAnyStringView key) const;
    // The stored text, else the registered default; absent for a key with
    // neither.
    std::optional<QString> textValue(QAnyStringView key) const;

    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // The two lists are kept between reads: a reference stays valid, and
    // unchanged, until the next call of the same function.
    const std::vector<MenuBarModule>& enabledMenuBarModules() const;
    MenuBarStyle currentMenuBarStyle() const;
    const std::set<QString>& visibleCards() const;
    bool isCardVisible(PopoverCard card) const;

    // Settings-window writes.
    void setModuleEnabled(MenuBarModule module, bool enabled);
    void setCardVisible(PopoverCard card, bool visible);
    // Swaps the module with its neighbour (step −1 or +1); nothing is stored
    // when that would leave the list.
    void moveModule(MenuBarModule module, int step);
    // Threshold setters keep warning below critical.
    void setWarningThreshold(double warning);
    void setCriticalThreshold(double critical);

signals:
    void changed();

private:
    enum class FileKind { absent, regular, link, unusable };

    FileKind fileKind() const;
    // Says on standard error, once, when the file is ignored.
    bool isFileUsable() const;
    QSettings& settings() const;
    // Whether a write may go to the file (a link first replaced).
    bool prepareWrite();
    bool replaceLink();

    // A typed value kept for one key until the settings change.
    template <typename T>
    struct Kept {
        QString key;
        T value;
    };
    template <typename T>
    using KeptValues = std::vector<Kept<T>>;

    // Re-reads the file when the watch saw a change since the last read.
    void refresh() const;
    // Everything derived from the file is computed afresh at its next read.
    void forgetDerived() const;
    std::optional<QVariant> storedValue(QAnyStringView key) const;
    double readDouble(QAnyStringView key) const;
    bool readBool(QAnyStringView key) const;
    std::optional<QString> readText(QAnyStringView key) const;
    void toggleInSet(const QString& key, const QString& raw, bool on);
    void written();
    void fileMaybeChanged();
    QByteArray fileFingerprint() const;

    QString filePath_;
    mutable std::optional<QSettings> settings_;
    mutable SettingsFileWatch watch_;
    QByteArray lastFingerprint_;
    // Values stored while the file is ignored (absent: removed).
    std::map<QString, std::optional<QVariant>> unsaved_;
    mutable bool reportedUnusable_ = false;

    // Derived values, valid for `generation_`.
    mutable uint64_t generation_ = 1;
    mutable KeptValues<double> doubles_;
    mutable KeptValues<bool> bools_;
    mutable KeptValues<std::optional<QString>> texts_;
    mutable uint64_t modulesGeneration_ = 0;
    mutable std::vector<MenuBarModule> modules_;
    mutable uint64_t cardsGeneration_ = 0;
    mutable std::set<QString> cards_;
    mutable std::optional<MenuBarStyle> style_;
};

} // namespace orbistat
