#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

struct SettingsStoreTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("Orbistat.conf");
    SettingsStore store{path};

    void writeFile(const QByteArray& text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
};

std::vector<MenuBarModule> modules(std::initializer_list<MenuBarModule> list) { return list; }

} // namespace

TEST(SettingsParsing, SetListsSplitAtCommasWithoutTrimming)
{
    EXPECT_EQ(parseSet("gpu,,cpu,gpu"), (std::set<QString>{"cpu", "gpu"}));
    EXPECT_EQ(parseSet(" cpu"), (std::set<QString>{" cpu"}));
    EXPECT_TRUE(parseSet("").empty());
    EXPECT_EQ(joinSet({"network", "cpu", "memory"}), "cpu,memory,network");
}

TEST(SettingsParsing, ModuleOrderAlwaysHoldsAllSevenOnce)
{
    using M = MenuBarModule;
    EXPECT_EQ(parseModuleOrder("battery,cpu,battery,foo"),
              modules({M::battery, M::cpu, M::memory, M::network, M::disk, M::gpu, M::temperature}));
    EXPECT_EQ(parseModuleOrder("Foo,,CPU"), modules({M::cpu, M::memory, M::network, M::disk, M::gpu, M::temperature, M::battery}));
}

TEST_F(SettingsStoreTest, RegisteredDefaultsApplyWithoutStoredValues)
{
    EXPECT_EQ(store.doubleValue(SettingsKey::updateInterval), 2.0);
    EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), 0.75);
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.9);
    EXPECT_EQ(store.doubleValue(SettingsKey::alertDuration), 30.0);
    EXPECT_EQ(store.doubleValue(SettingsKey::diskAlertThreshold), 0.92);
    EXPECT_TRUE(store.boolValue(SettingsKey::menuBarColorize));
    EXPECT_FALSE(store.boolValue(SettingsKey::alertsEnabled));
    EXPECT_EQ(store.textValue(SettingsKey::menuBarOrder), QString("cpu,memory,network,disk,gpu,temperature,battery"));
    EXPECT_EQ(store.textValue(SettingsKey::visibleCards), QString("cpu,memory,network,disk,gpu,sensors,battery,accessories"));
    EXPECT_FALSE(store.textValue(SettingsKey::settingsTab));
    EXPECT_EQ(store.enabledMenuBarModules(), modules({MenuBarModule::cpu, MenuBarModule::memory}));
    EXPECT_EQ(store.currentMenuBarStyle(), MenuBarStyle::stacked);
    EXPECT_FALSE(QFile::exists(path)) << "defaults are never written";
}

TEST_F(SettingsStoreTest, HandEditedFileWithGarbageReadsAsDefaults)
{
    writeFile("[General]\n"
              "updateInterval=fast\n"
              "warningThreshold=nan\n"
              "criticalThreshold=inf\n"
              "menuBarColorize=perhaps\n"
              "alertsEnabled=true\n"
              "alertDuration=45\n"
              "menuBarEnabled=gpu,,cpu\n"
              "menuBarStyle=Graph\n"
              "unknownKey=whatever\n"
              "\x01\x02garbage line without equals\n");
    EXPECT_EQ(store.doubleValue(SettingsKey::updateInterval), 2.0);
    EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), 0.75);
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.9);
    EXPECT_TRUE(store.boolValue(SettingsKey::menuBarColorize));
    EXPECT_TRUE(store.boolValue(SettingsKey::alertsEnabled));
    EXPECT_EQ(store.doubleValue(SettingsKey::alertDuration), 45.0);
    // An unquoted list in the file is still the text it was.
    EXPECT_EQ(store.enabledMenuBarModules(), modules({MenuBarModule::cpu, MenuBarModule::gpu}));
    EXPECT_EQ(store.currentMenuBarStyle(), MenuBarStyle::stacked);
}

TEST_F(SettingsStoreTest, StylesAndEnabledSetsFollowExactRawValues)
{
    const std::pair<const char*, MenuBarStyle> styles[] = {
        {"inline", MenuBarStyle::inline_}, {"graph", MenuBarStyle::graph}, {"stacked", MenuBarStyle::stacked}, {"", MenuBarStyle::stacked}};
    for (const auto& [text, style] : styles) {
        store.setValue(SettingsKey::menuBarStyle, QString(text));
        EXPECT_EQ(store.currentMenuBarStyle(), style) << text;
    }
    store.setValue(SettingsKey::menuBarEnabled, QString(" cpu"));
    EXPECT_TRUE(store.enabledMenuBarModules().empty());
    store.setValue(SettingsKey::menuBarEnabled, QString("battery,cpu"));
    store.setValue(SettingsKey::menuBarOrder, QString("battery,memory"));
    EXPECT_EQ(store.enabledMenuBarModules(), modules({MenuBarModule::battery, MenuBarModule::cpu}));
}

TEST_F(SettingsStoreTest, TogglesStoreSortedSetsAndMovesStayInside)
{
    store.setModuleEnabled(MenuBarModule::network, true);
    EXPECT_EQ(store.textValue(SettingsKey::menuBarEnabled), QString("cpu,memory,network"));
    store.setModuleEnabled(MenuBarModule::battery, true);
    EXPECT_EQ(store.textValue(SettingsKey::menuBarEnabled), QString("battery,cpu,memory,network"));
    store.setCardVisible(PopoverCard::gpu, false);
    EXPECT_EQ(store.textValue(SettingsKey::visibleCards), QString("accessories,battery,cpu,disk,memory,network,sensors"));
    EXPECT_FALSE(store.isCardVisible(PopoverCard::gpu));

    store.moveModule(MenuBarModule::cpu, -1);
    store.moveModule(MenuBarModule::battery, +1);
    EXPECT_FALSE(QSettings(path, QSettings::IniFormat).contains(SettingsKey::menuBarOrder)) << "nothing stored";
    EXPECT_EQ(store.textValue(SettingsKey::menuBarOrder), QString("cpu,memory,network,disk,gpu,temperature,battery"));
    store.moveModule(MenuBarModule::disk, -1);
    EXPECT_EQ(store.textValue(SettingsKey::menuBarOrder), QString("cpu,memory,disk,network,gpu,temperature,battery"));
}

TEST_F(SettingsStoreTest, ThresholdsKeepWarningBelowCritical)
{
    store.setWarningThreshold(0.9);
    // Exactly 0.95, not the 0.9500000000000001 of 0.9 + 0.05, in the file too.
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.95);
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value(SettingsKey::criticalThreshold).toString(), "0.95");
    store.setWarningThreshold(1.0);
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 1.0);
    store.setValue(SettingsKey::warningThreshold, 0.75);
    store.setCriticalThreshold(0.55);
    EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), 0.5);
    store.setCriticalThreshold(0.8);
    EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), 0.5) << "already below";
    store.setValue(SettingsKey::warningThreshold, 0.9);
    store.setCriticalThreshold(0.7);
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value(SettingsKey::warningThreshold).toString(), "0.65");
}

TEST_F(SettingsStoreTest, EveryWriteAndAnExternalEditAnnounceAChange)
{
    QSignalSpy spy(&store, &SettingsStore::changed);
    store.setValue(SettingsKey::updateInterval, 5.0);
    EXPECT_EQ(spy.count(), 1);
    store.remove(SettingsKey::updateInterval);
    EXPECT_EQ(spy.count(), 2);
    // Our own saves do not echo back through the file watch.
    QCoreApplication::processEvents();
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), 2);

    // Another process rewrites the file.
    SettingsStore other(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nupdateInterval=10\n");
    file.close();
    EXPECT_TRUE(spy.wait(3000));
    EXPECT_EQ(store.doubleValue(SettingsKey::updateInterval), 10.0);
}

TEST(SettingsStoreCache, AnExternalEditIsSeenByTheNextReadWithoutTheEventLoop)
{
    // Each way another program changes the file; no event is processed
    // between the edit and the read, as none may be between an edit and the
    // next tick's reads.
    struct Edit {
        const char* what;
        std::function<void(const QString& folder, const QString& path, const QByteArray& text)> apply;
    };
    const auto writeInPlace = [](const QString&, const QString& path, const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    const Edit edits[] = {
        {"written in place", writeInPlace},
        {"replaced by a rename, as editors save",
         [](const QString&, const QString& path, const QByteArray& text) {
             QFile file(path + ".new");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(text);
             file.close();
             ASSERT_EQ(::rename(QFile::encodeName(path + ".new").constData(), QFile::encodeName(path).constData()), 0);
         }},
        {"folder created after the store", writeInPlace},
        {"symbolic link whose target is edited",
         [](const QString& folder, const QString&, const QByteArray& text) {
             QFile file(folder + "/../target.conf");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write(text);
         }},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.what);
        QTemporaryDir dir;
        const QString folder = dir.filePath("config/Orbistat");
        const QString path = folder + "/Orbistat.conf";
        const bool folderLater = std::string_view(edit.what).starts_with("folder");
        if (!folderLater) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        if (std::string_view(edit.what).starts_with("symbolic")) {
            QFile target(dir.filePath("config/target.conf"));
            ASSERT_TRUE(target.open(QIODevice::WriteOnly));
            target.write("[General]\nwarningThreshold=0.6\n");
            target.close();
            ASSERT_TRUE(QFile::link(dir.filePath("config/target.conf"), path));
        }
        SettingsStore store(path);
        const double before = store.doubleValue(SettingsKey::warningThreshold);
        EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), before) << "served again";
        if (folderLater) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        edit.apply(folder, path, "[General]\nwarningThreshold=0.8\nmenuBarEnabled=gpu\n");
        EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), 0.8);
        EXPECT_EQ(store.enabledMenuBarModules(), modules({MenuBarModule::gpu}));

        // And once more: the watch follows the file after the first change.
        edit.apply(folder, path, "[General]\nwarningThreshold=0.85\n");
        EXPECT_EQ(store.doubleValue(SettingsKey::warningThreshold), 0.85);
        EXPECT_EQ(store.enabledMenuBarModules(), modules({MenuBarModule::cpu, MenuBarModule::memory}));
    }
}

TEST_F(SettingsStoreTest, RemovingTheFileOrItsFolderBringsBackTheDefaults)
{
    store.setValue(SettingsKey::criticalThreshold, 0.8);
    store.setValue(SettingsKey::menuBarStyle, QString("graph"));
    EXPECT_EQ(store.currentMenuBarStyle(), MenuBarStyle::graph);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.9);
    EXPECT_EQ(store.currentMenuBarStyle(), MenuBarStyle::stacked);

    writeFile("[General]\ncriticalThreshold=0.7\n");
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.7);
    ASSERT_TRUE(QDir(dir.path()).removeRecursively());
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.9);
    ASSERT_TRUE(QDir().mkpath(dir.path()));
    writeFile("[General]\ncriticalThreshold=0.65\n");
    EXPECT_EQ(store.doubleValue(SettingsKey::criticalThreshold), 0.65) << "the recreated folder is watched again";
}
