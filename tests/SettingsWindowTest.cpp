// The settings window driven through its real widgets on the offscreen
// platform: what each control stores, how the controls follow the settings,
// the window's lifetime and keys, and the test notification over a private
// session bus.
#include "QtPrinters.h"
#include "alerts/AlertManager.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeCpuTicksSource.h"
#include "doubles/FakeLoginItem.h"
#include "doubles/FakeNotificationServer.h"
#include "doubles/FakeNotifier.h"
#include "doubles/FakeSysctlReader.h"
#include "doubles/PrivateBus.h"
#include "menubar/MenuBarRenderer.h"
#include "platform/linux/LinuxAutostartEntry.h"
#include "platform/linux/LinuxDBusNotifier.h"
#include "samplers/CPUSampler.h"
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"
#include "ui/components/ColorDot.h"
#include "ui/settings/AlertsSettings.h"
#include "ui/settings/FormSection.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/settings/MenuBarPreview.h"
#include "ui/settings/MenuBarSettings.h"
#include "ui/settings/ModuleRow.h"
#include "ui/settings/PopoverSettings.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsTabBar.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/settings/ToggleSwitch.h"

#include <QApplication>
#include <QScrollBar>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::test;
using ui::AlertsSettings;

namespace {

struct SettingsWindowTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("Orbistat.conf");
    SettingsStore settings{path};
    FakeClock clock;
    FakeCpuTicksSource ticks;
    FakeSysctlReader sysctl;
    std::unique_ptr<SystemMonitor> monitor;
    FakeNotifier notifier;
    std::unique_ptr<AlertManager> alerts;
    FakeLoginItem loginItem;
    std::unique_ptr<ui::SettingsView> view;

    void SetUp() override
    {
        // 25 % busy between the first two readings, 75 % between the next.
        ticks.readings = {std::vector<CpuTicks>{{0, 0, 0, 0}}, std::vector<CpuTicks>{{25, 0, 75, 0}},
                          std::vector<CpuTicks>{{100, 0, 100, 0}}};
        MonitorSamplers samplers;
        samplers.cpu = std::make_unique<CPUSampler>(ticks, sysctl);
        monitor = std::make_unique<SystemMonitor>(std::move(samplers), settings, clock);
        alerts = std::make_unique<AlertManager>(settings, notifier, clock);
    }

    ui::SettingsView& open()
    {
        view = std::make_unique<ui::SettingsView>(*monitor, SettingsServices{settings, alerts.get(), &loginItem});
        view->setAttribute(Qt::WA_DontShowOnScreen);
        view->resize(ui::SettingsView::size);
        view->show();
        return *view;
    }

    // The text the settings file holds for the key; empty when absent.
    QString stored(const char* key) const { return QSettings(path, QSettings::IniFormat).value(key).toString(); }
    bool isStored(const char* key) const { return QSettings(path, QSettings::IniFormat).contains(key); }
};

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(widget->width() - 8, widget->height() / 2));
}

// The widget the Tab key moves focus to from `widget`: the next one in the
// chain that takes Tab focus and is shown and enabled.
QWidget* nextTabStop(QWidget* widget)
{
    for (QWidget* next = widget->nextInFocusChain(); next && next != widget; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled())
            return next;
    }
    return nullptr;
}

} // namespace

TEST_F(SettingsWindowTest, GeneralControlsStoreTheirKeysAndThresholdsPushEachOther)
{
    auto& general = *open().general();
    general.interval()->setCurrentIndex(3);
    EXPECT_EQ(stored(SettingsKey::updateInterval), "5");
    EXPECT_EQ(settings.doubleValue(SettingsKey::updateInterval), 5.0);

    // Warning up to 0.95 past critical 0.9: critical follows to 1.0.
    general.warning()->slider()->setValue(general.warning()->slider()->maximum());
    EXPECT_EQ(stored(SettingsKey::warningThreshold), "0.95");
    EXPECT_EQ(stored(SettingsKey::criticalThreshold), "1");
    EXPECT_EQ(general.critical()->valueLabel()->text(), "100%");
    EXPECT_EQ(general.critical()->slider()->value(), general.critical()->slider()->maximum());

    // Critical down to 0.55 below warning: warning follows to 0.5.
    general.critical()->slider()->setValue(0);
    EXPECT_EQ(stored(SettingsKey::criticalThreshold), "0.55");
    EXPECT_EQ(stored(SettingsKey::warningThreshold), "0.5");
    EXPECT_EQ(general.warning()->valueLabel()->text(), "50%");
    EXPECT_EQ(general.warning()->slider()->value(), 0);
}

TEST_F(SettingsWindowTest, EverySliderPositionStoresItsGridValueAndShowsWhatIsStored)
{
    auto& view = open();
    struct Case {
        const char* name;
        ui::SliderBlock* block;
        const char* key;
    };
    const Case cases[] = {
        {"warning", view.general()->warning(), SettingsKey::warningThreshold},
        {"critical", view.general()->critical(), SettingsKey::criticalThreshold},
        {"disk", view.alerts()->diskThreshold(), SettingsKey::diskAlertThreshold},
    };
    settings.setValue(SettingsKey::alertsEnabled, true);
    for (const auto& [name, block, key] : cases) {
        const auto& grid = block->grid();
        for (int position = 0; position < grid.positions(); ++position) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(position));
            // Keyboard steps from the far end, as a person would move it.
            block->slider()->setValue(position == 0 ? 1 : position - 1);
            block->slider()->setFocus();
            QTest::keyClick(block->slider(), position == 0 ? Qt::Key_Left : Qt::Key_Right);
            const int hundredths = grid.minimum + position * grid.step;
            // Six significant digits at most: 0.9500000000000001 fails.
            EXPECT_EQ(stored(key), QString::number(hundredths / 100.0));
            EXPECT_EQ(block->valueLabel()->text(), MenuBarRenderer::percentText(settings.doubleValue(key)));
            EXPECT_EQ(block->valueLabel()->text(), QString::number(hundredths) + "%");
        }
    }
}

TEST_F(SettingsWindowTest, ModuleListMovesTogglesAndFollowsTheStoredOrder)
{
    open().setTab(SettingsTab::menuBar);
    auto& menuBar = *view->menuBar();
    const auto rows = menuBar.moduleRows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_FALSE(rows.front()->upButton()->isEnabled());
    EXPECT_TRUE(rows.front()->downButton()->isEnabled());
    EXPECT_TRUE(rows.back()->upButton()->isEnabled());
    EXPECT_FALSE(rows.back()->downButton()->isEnabled());
    EXPECT_EQ(menuBar.row(MenuBarModule::memory)->upButton()->accessibleName(), "Move Memory up");
    EXPECT_EQ(menuBar.row(MenuBarModule::temperature)->downButton()->accessibleName(), "Move CPU temperature down");

    click(menuBar.row(MenuBarModule::memory)->downButton());
    EXPECT_EQ(stored(SettingsKey::menuBarOrder), "cpu,network,memory,disk,gpu,temperature,battery");
    QApplication::processEvents();
    const auto moved = menuBar.moduleRows();
    EXPECT_EQ(moved[1]->module(), MenuBarModule::network);
    EXPECT_EQ(moved[2]->module(), MenuBarModule::memory);
    // Shown in that order on screen too, and reached in that order by Tab.
    EXPECT_LT(moved[1]->mapTo(&menuBar, QPoint()).y(), moved[2]->mapTo(&menuBar, QPoint()).y());
    EXPECT_EQ(nextTabStop(moved[1]->downButton()), moved[2]->toggle());
    EXPECT_EQ(nextTabStop(moved[2]->downButton()), moved[3]->toggle());

    // Check boxes write sorted sets; unchecking writes the rest.
    click(menuBar.row(MenuBarModule::network)->toggle());
    EXPECT_EQ(stored(SettingsKey::menuBarEnabled), "cpu,memory,network");
    click(menuBar.row(MenuBarModule::cpu)->toggle());
    EXPECT_EQ(stored(SettingsKey::menuBarEnabled), "memory,network");

    // Layout segments store raw values; the switch stores a boolean.
    click(menuBar.layoutPicker()->segment(2));
    EXPECT_EQ(stored(SettingsKey::menuBarStyle), "graph");
    menuBar.layoutPicker()->segment(2)->setFocus();
    QTest::keyClick(menuBar.layoutPicker()->segment(2), Qt::Key_Left);
    EXPECT_EQ(stored(SettingsKey::menuBarStyle), "stacked");
    click(menuBar.colorize());
    EXPECT_EQ(stored(SettingsKey::menuBarColorize), "false");
}

TEST_F(SettingsWindowTest, PreviewFollowsSettingsAndTicks)
{
    monitor->tick();
    monitor->tick();
    auto& view = open();
    view.setTab(SettingsTab::menuBar);
    auto& menuBar = *view.menuBar();
    auto* preview = menuBar.preview();
    ASSERT_TRUE(preview->isVisible());
    ASSERT_EQ(preview->items().size(), 2u);
    EXPECT_EQ(preview->items()[0].lines, QStringList{"25%"});

    // A tick redraws it, once its signals have all arrived.
    monitor->tick();
    QApplication::processEvents();
    EXPECT_EQ(preview->items()[0].lines, QStringList{"75%"});

    settings.setValue(SettingsKey::menuBarStyle, QStringLiteral("inline"));
    settings.setValue(SettingsKey::menuBarColorize, false);
    EXPECT_EQ(preview->style(), MenuBarStyle::inline_);
    EXPECT_FALSE(preview->colorize());
    EXPECT_EQ(menuBar.layoutPicker()->currentIndex(), 0);

    // No module, or only one without a value here (no GPU): the text.
    settings.setValue(SettingsKey::menuBarEnabled, QString());
    EXPECT_TRUE(preview->showsPlaceholder());
    settings.setValue(SettingsKey::menuBarEnabled, QStringLiteral("gpu"));
    EXPECT_TRUE(preview->showsPlaceholder());
    EXPECT_EQ(preview->accessibleName(), "Select at least one module");
    settings.setValue(SettingsKey::menuBarEnabled, QStringLiteral("gpu,memory"));
    EXPECT_FALSE(preview->showsPlaceholder());
}

TEST_F(SettingsWindowTest, CardSwitchesWriteTheCardSet)
{
    auto& popover = *open().popover();
    click(popover.toggle(PopoverCard::gpu));
    EXPECT_EQ(stored(SettingsKey::visibleCards), "accessories,battery,cpu,disk,memory,network,sensors");
    click(popover.toggle(PopoverCard::gpu));
    EXPECT_EQ(stored(SettingsKey::visibleCards), "accessories,battery,cpu,disk,gpu,memory,network,sensors");
    EXPECT_EQ(popover.toggle(PopoverCard::accessories)->text(), "Bluetooth accessories");
}

TEST_F(SettingsWindowTest, AlertChoicesAreLockedWhileNotificationsAreOff)
{
    auto& alertsTab = *open().alerts();
    EXPECT_FALSE(alertsTab.alertsSection()->isEnabled());
    EXPECT_FALSE(alertsTab.conditionsSection()->isEnabled());
    click(alertsTab.alertToggle(AlertsSettings::Alert::memory));
    QTest::keyClick(alertsTab.duration(), Qt::Key_Down);
    EXPECT_FALSE(isStored(SettingsKey::alertMemory));
    EXPECT_FALSE(isStored(SettingsKey::alertDuration));

    click(alertsTab.sendNotifications());
    EXPECT_EQ(stored(SettingsKey::alertsEnabled), "true");
    EXPECT_EQ(notifier.pending.size(), 1u) << "permission asked when alerts are turned on";
    EXPECT_TRUE(alertsTab.alertsSection()->isEnabled());
    EXPECT_TRUE(alertsTab.conditionsSection()->isEnabled());

    const std::pair<AlertsSettings::Alert, const char*> switches[] = {
        {AlertsSettings::Alert::cpu, SettingsKey::alertCPU},         {AlertsSettings::Alert::memory, SettingsKey::alertMemory},
        {AlertsSettings::Alert::disk, SettingsKey::alertDisk},       {AlertsSettings::Alert::battery, SettingsKey::alertBattery},
        {AlertsSettings::Alert::temperature, SettingsKey::alertTemperature},
    };
    for (const auto& [alert, key] : switches) {
        SCOPED_TRACE(key);
        click(alertsTab.alertToggle(alert));
        EXPECT_EQ(stored(key), "false");
    }
    alertsTab.duration()->setCurrentIndex(3);
    EXPECT_EQ(stored(SettingsKey::alertDuration), "120");

    // The CPU label carries the critical threshold, live.
    EXPECT_EQ(alertsTab.alertToggle(AlertsSettings::Alert::cpu)->text(), "CPU above 90%");
    settings.setCriticalThreshold(0.85);
    EXPECT_EQ(alertsTab.alertToggle(AlertsSettings::Alert::cpu)->text(), "CPU above 85%");
    EXPECT_EQ(alertsTab.alertToggle(AlertsSettings::Alert::battery)->text(), "Battery at 15% or less, not charging");
}

TEST_F(SettingsWindowTest, BadValuesShowDefaultsAndWriteNothing)
{
    const QByteArray garbage = "[General]\n"
                               "updateInterval=7\n"
                               "warningThreshold=banana\n"
                               "criticalThreshold=4\n"
                               "diskAlertThreshold=-1\n"
                               "alertDuration=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10)\n"
                               "alertsEnabled=maybe\n"
                               "menuBarStyle=Graph\n"
                               "menuBarOrder=foo,battery,battery\n"
                               "settingsTab=preferences\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    auto& view = open();
    EXPECT_EQ(view.shownTab(), SettingsTab::general);
    EXPECT_EQ(view.general()->interval()->currentText(), "2 seconds");
    EXPECT_EQ(view.general()->warning()->valueLabel()->text(), "75%");
    EXPECT_EQ(view.general()->critical()->valueLabel()->text(), "90%");
    EXPECT_EQ(view.alerts()->diskThreshold()->valueLabel()->text(), "92%");
    EXPECT_EQ(view.alerts()->duration()->currentText(), "30 seconds");
    EXPECT_FALSE(view.alerts()->sendNotifications()->isChecked());
    EXPECT_EQ(view.menuBar()->layoutPicker()->currentIndex(), 1);
    EXPECT_EQ(view.menuBar()->moduleRows().front()->module(), MenuBarModule::battery);
    view.refresh();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage) << "opening the window writes nothing";
}

TEST_F(SettingsWindowTest, InvertedThresholdsAreShownAsStoredUntilASliderMoves)
{
    settings.setValue(SettingsKey::warningThreshold, 0.9);
    settings.setValue(SettingsKey::criticalThreshold, 0.62);
    auto& general = *open().general();
    EXPECT_EQ(general.warning()->valueLabel()->text(), "90%");
    EXPECT_EQ(general.critical()->valueLabel()->text(), "62%");
    EXPECT_EQ(stored(SettingsKey::criticalThreshold), "0.62");
    QTest::keyClick(general.critical()->slider(), Qt::Key_Right);
    EXPECT_EQ(stored(SettingsKey::criticalThreshold), "0.65");
    EXPECT_EQ(stored(SettingsKey::warningThreshold), "0.6");
}

TEST_F(SettingsWindowTest, AnEditOfTheFileByAnotherProgramUpdatesTheControls)
{
    auto& view = open();
    QSignalSpy changed(&settings, &SettingsStore::changed);
    {
        QSettings other(path, QSettings::IniFormat);
        other.setValue(SettingsKey::updateInterval, 10);
        other.setValue(SettingsKey::visibleCards, QStringLiteral("cpu"));
        other.setValue(SettingsKey::settingsTab, QStringLiteral("popover"));
    }
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(view.general()->interval()->currentText(), "10 seconds");
    EXPECT_FALSE(view.popover()->toggle(PopoverCard::memory)->isChecked());
    EXPECT_TRUE(view.popover()->toggle(PopoverCard::cpu)->isChecked());
    EXPECT_EQ(view.shownTab(), SettingsTab::popover);
}

TEST_F(SettingsWindowTest, LaunchAtLoginShowsTheRealStateAndSnapsBackWhenRefused)
{
    auto& general = *open().general();
    EXPECT_FALSE(general.launchAtLogin()->isChecked());
    click(general.launchAtLogin());
    EXPECT_TRUE(loginItem.enabled);
    EXPECT_TRUE(general.launchAtLogin()->isChecked());

    loginItem.refuses = true;
    click(general.launchAtLogin());
    EXPECT_EQ(loginItem.changes, 2);
    EXPECT_TRUE(general.launchAtLogin()->isChecked()) << "snapped back";
}

TEST_F(SettingsWindowTest, LaunchAtLoginThroughTheAutostartFolder)
{
    QTemporaryDir config;
    LinuxAutostartEntry autostart(config.path(), QStringLiteral("/usr/bin/orbistat"));
    ui::SettingsView view(*monitor, SettingsServices{settings, alerts.get(), &autostart});
    auto* toggle = view.general()->launchAtLogin();
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    click(toggle);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(QFile::exists(config.filePath("autostart/orbistat.desktop")));
    click(toggle);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(QFile::exists(config.filePath("autostart/orbistat.desktop")));

    // A file where the folder belongs: the write fails quietly.
    ASSERT_TRUE(QDir(config.filePath("autostart")).removeRecursively());
    QFile blocker(config.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    click(toggle);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no dialog";
}

TEST_F(SettingsWindowTest, TestButtonShowsWhatTheNotificationServerAnswered)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    LinuxDBusNotifier busNotifier(bus.connect(QStringLiteral("client")));
    AlertManager busAlerts(settings, busNotifier, clock);
    ui::SettingsView view(*monitor, SettingsServices{settings, &busAlerts, &loginItem});
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    auto* button = view.alerts()->testButton();
    auto* message = view.alerts()->testMessage();
    EXPECT_TRUE(message->isHidden());

    // No server on the bus: permission is refused.
    click(button);
    ASSERT_TRUE(waitUntil([&] { return !message->isHidden(); }));
    EXPECT_EQ(message->text(), "Notifications are turned off for Orbistat. Enable them in System Settings \u2192 Notifications.");
    EXPECT_TRUE(button->isEnabled());

    FakeNotificationServer server;
    ASSERT_TRUE(server.registerOn(bus.connect(QStringLiteral("server"))));
    click(button);
    EXPECT_FALSE(button->isEnabled()) << "one test at a time";
    ASSERT_TRUE(waitUntil([&] { return message->text() == "Test notification sent."; }));
    ASSERT_TRUE(waitUntil([&] { return !server.calls.empty(); }));
    EXPECT_EQ(server.calls.back().summary, "Orbistat");
    EXPECT_EQ(server.calls.back().body, "Notifications are working.");
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(SettingsWindowTest, EveryControlHasANameAndTakesKeyboardFocus)
{
    auto& view = open();
    for (const auto& entry : settingsTabTable) {
        SCOPED_TRACE(entry.rawValue);
        view.setTab(entry.tab);
        ASSERT_EQ(view.shownTab(), entry.tab);
        QWidget* page = view.pages()->currentWidget();
        int controls = 0;
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSlider*>(widget)
                                 || qobject_cast<QComboBox*>(widget);
            if (!control || qobject_cast<QScrollBar*>(widget))
                continue;
            ++controls;
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
            EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus) << widget->accessibleName().toStdString();
        }
        EXPECT_GT(controls, 0);
    }
    view.setTab(SettingsTab::general);
    QWidget* first = nextTabStop(view.tabBar());
    EXPECT_EQ(first, view.general()->launchAtLogin()) << (first ? first->metaObject()->className() : "none");
    EXPECT_EQ(view.tabBar()->count(), 4);
    EXPECT_EQ(view.tabBar()->tabText(1), "Menu Bar");
}

TEST_F(SettingsWindowTest, OneWindowReusedOnTheRequestedTabWithItsKeys)
{
    ui::SettingsWindowController controller({settings, alerts.get(), &loginItem});
    EXPECT_EQ(controller.window(), nullptr);
    controller.show(*monitor, SettingsTab::alerts);
    QWidget* window = controller.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Orbistat Settings");
    EXPECT_EQ(window->size(), QSize(520, 500));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(controller.view()->shownTab(), SettingsTab::alerts);
    EXPECT_EQ(stored(SettingsKey::settingsTab), "alerts");

    controller.show(*monitor, SettingsTab::popover);
    EXPECT_EQ(controller.window(), window);
    EXPECT_EQ(controller.view()->shownTab(), SettingsTab::popover);
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows += widget->objectName() == "OrbistatSettings";
    EXPECT_EQ(windows, 1);

    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(controller.view()->shownTab(), SettingsTab::alerts);
    QTest::keyClick(window, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(controller.view()->shownTab(), SettingsTab::general) << "wraps around";
    QTest::keyClick(window, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(stored(SettingsKey::settingsTab), "alerts");

    QSignalSpy closed(&controller, &ui::SettingsWindowController::closed);
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(window->isVisible());
    controller.show(*monitor, SettingsTab::general);
    EXPECT_EQ(controller.window(), window) << "kept, not rebuilt";
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SettingsWindowTest, RendersEveryTabInBothAppearances)
{
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        for (const auto& entry : settingsTabTable) {
            SCOPED_TRACE(std::string(entry.rawValue) + (appearance == Appearance::dark ? " dark" : " light"));
            settings.setValue(SettingsKey::settingsTab, QString::fromLatin1(entry.rawValue));
            const QImage image = ui::SettingsView::render(*monitor, {settings}, appearance);
            EXPECT_EQ(image.size(), QSize(1040, 1000));
            EXPECT_EQ(image.pixelColor(2, 998).rgb(), ui::windowBackground(appearance).rgb());
        }
    }
}

TEST_F(SettingsWindowTest, ThresholdDotsAreDrawnInTheirColours)
{
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(appearance == Appearance::dark ? "dark" : "light");
        ui::SettingsView view(*monitor, {settings});
        ui::applyAppearance(view, appearance);
        const QImage image = ui::renderWidget(view, ui::SettingsView::size, 2.0);
        const auto dots = view.general()->findChildren<ui::ColorDot*>();
        ASSERT_EQ(dots.size(), 2);
        const QColor expected[] = {palette(appearance).orange, palette(appearance).red};
        for (int i = 0; i < 2; ++i) {
            const QPoint centre = dots[i]->mapTo(&view, dots[i]->rect().center());
            EXPECT_EQ(image.pixelColor(centre * 2 + QPoint(1, 1)).rgb(), expected[i].rgb());
        }
    }
}
