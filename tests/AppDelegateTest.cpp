// The tray program's shell in one process: a fake panel on a private bus,
// a monitor on fake counters, the offscreen platform for the windows.
#include "WaitUntil.h"
#include "alerts/AlertManager.h"
#include "app/AppDelegate.h"
#include "app/PopoverGeometry.h"
#include "app/SingleInstance.h"
#include "core/SettingsStore.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeCpuTicksSource.h"
#include "doubles/FakeNotifier.h"
#include "doubles/FakeStatusNotifierWatcher.h"
#include "doubles/FakeSysctlReader.h"
#include "doubles/PrivateBus.h"
#include "menubar/MenuBarRenderer.h"
#include "platform/linux/StatusNotifierTypes.h"
#include "samplers/CPUSampler.h"
#include "ui/popover/HeaderView.h"
#include "ui/popover/PopoverView.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::test;

namespace {

struct AppDelegateTest : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    FakeClock clock;
    FakeNotifier notifier;
    AlertManager alerts{settings, notifier, clock};
    FakeCpuTicksSource ticks;
    FakeSysctlReader sysctl;
    PrivateBus bus;
    QDBusConnection panel = bus.connect(QStringLiteral("panel"));
    std::optional<FakeStatusNotifierWatcher> watcher;
    std::unique_ptr<AppDelegate> delegate;
    QString itemService;

    void SetUp() override
    {
        for (uint32_t step = 0; step < 500; ++step)
            ticks.readings.push_back(std::vector<CpuTicks>(2, CpuTicks{step * 34, 0, step * 66, 0}));
    }

    void launch(bool withPanel = true)
    {
        if (withPanel)
            watcher.emplace(panel);
        MonitorSamplers samplers;
        samplers.cpu = std::make_unique<CPUSampler>(ticks, sysctl);
        delegate = std::make_unique<AppDelegate>(settings, alerts, std::move(samplers), clock, bus.connect(QStringLiteral("app")));
        delegate->launch();
        if (withPanel) {
            ASSERT_TRUE(waitUntil([&] { return !watcher->registrations().isEmpty(); }));
            itemService = watcher->registrations().front();
        }
    }

    QDBusMessage callItem(const QString& member, const QVariantList& arguments)
    {
        auto message = QDBusMessage::createMethodCall(itemService, QStringLiteral("/StatusNotifierItem"),
                                                      QStringLiteral("org.kde.StatusNotifierItem"), member);
        message.setArguments(arguments);
        return panel.call(message, QDBus::BlockWithGui, 5000);
    }
    QVariant itemProperty(const QString& name)
    {
        auto message = QDBusMessage::createMethodCall(itemService, QStringLiteral("/StatusNotifierItem"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        message.setArguments({QStringLiteral("org.kde.StatusNotifierItem"), name});
        const auto answer = panel.call(message, QDBus::BlockWithGui, 5000);
        if (answer.arguments().isEmpty())
            return {};
        return answer.arguments().at(0).value<QDBusVariant>().variant();
    }
    QString toolTipText()
    {
        SniToolTip toolTip;
        itemProperty(QStringLiteral("ToolTip")).value<QDBusArgument>() >> toolTip;
        return toolTip.text;
    }
    QByteArray iconBytes()
    {
        SniImageList images;
        itemProperty(QStringLiteral("IconPixmap")).value<QDBusArgument>() >> images;
        return images.isEmpty() ? QByteArray() : images.back().argb;
    }
};

} // namespace

TEST_F(AppDelegateTest, FirstTickDrawsTheItemAndSettingsChangesApplyAtOnce)
{
    settings.setValue(QString::fromLatin1(SettingsKey::menuBarEnabled), QStringLiteral("cpu"));
    launch();
    EXPECT_TRUE(delegate->monitor().isRunning());
    ASSERT_TRUE(waitUntil([&] { return !iconBytes().isEmpty(); }));
    // The first tick is the baseline: 0 %.
    EXPECT_EQ(toolTipText(), QStringLiteral("CPU 0%"));
    const QByteArray inlineImage = iconBytes();
    const int drawings = delegate->imageCache().drawings();

    // A new style redraws the image without waiting for a tick.
    settings.setValue(QString::fromLatin1(SettingsKey::menuBarStyle), QStringLiteral("stacked"));
    ASSERT_TRUE(waitUntil([&] { return iconBytes() != inlineImage; }));
    EXPECT_EQ(delegate->imageCache().drawings(), drawings + 1);

    // The interval, with its 0.5 s floor; the same value again changes nothing.
    settings.setValue(QString::fromLatin1(SettingsKey::updateInterval), 5.0);
    ASSERT_TRUE(waitUntil([&] { return delegate->monitor().interval() == 5.0; }));
    settings.setValue(QString::fromLatin1(SettingsKey::updateInterval), 0.1);
    ASSERT_TRUE(waitUntil([&] { return delegate->monitor().interval() == 0.5; }));

    // No module: the program symbol and its name.
    settings.setValue(QString::fromLatin1(SettingsKey::menuBarEnabled), QString());
    ASSERT_TRUE(waitUntil([&] { return toolTipText() == QStringLiteral("Orbistat"); }));
}

TEST_F(AppDelegateTest, ActivateOpensThePopoverAtTheClickAndTheMenuClosesIt)
{
    // Until the first click the program makes no widget at all: ticks draw
    // the item and nothing else.
    const auto widgetsBefore = QApplication::allWidgets().size();
    launch();
    delegate->monitor().tick();
    ASSERT_TRUE(waitUntil([&] { return !iconBytes().isEmpty(); }));
    EXPECT_FALSE(delegate->hasPopover());
    EXPECT_FALSE(delegate->hasMenu());
    EXPECT_EQ(QApplication::allWidgets().size(), widgetsBefore);

    callItem(QStringLiteral("Activate"), {300, 200});
    ASSERT_TRUE(waitUntil([&] { return delegate->hasPopover() && delegate->popover().isVisible(); }));
    auto& popover = delegate->popover();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = PopoverGeometry::size(available.height());
    EXPECT_EQ(popover.size(), size);
    EXPECT_EQ(popover.pos(), PopoverGeometry::position({300, 200}, size, available));
    EXPECT_FALSE(popover.isWindowMode());

    // The context click closes the popover and shows the menu.
    callItem(QStringLiteral("ContextMenu"), {310, 10});
    ASSERT_TRUE(waitUntil([&] { return delegate->menu().isVisible(); }));
    EXPECT_FALSE(popover.isVisible());
    delegate->menu().hide();

    // "Open Orbistat" from the menu opens it again.
    auto event = QDBusMessage::createMethodCall(itemService, QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
                                                QStringLiteral("Event"));
    event.setArguments({int(AppDelegate::openEntry), QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u});
    panel.call(event, QDBus::BlockWithGui, 5000);
    ASSERT_TRUE(waitUntil([&] { return popover.isVisible(); }));
}

TEST_F(AppDelegateTest, SettingsFromTheMenuOpenTheGeneralTab)
{
    launch();
    QString openedTab;
    delegate->settingsOpener = [&](SystemMonitor& monitor, const QString& tab) {
        EXPECT_EQ(&monitor, &delegate->monitor());
        openedTab = tab;
    };
    auto event = QDBusMessage::createMethodCall(itemService, QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
                                                QStringLiteral("Event"));
    event.setArguments({int(AppDelegate::settingsEntry), QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u});
    panel.call(event, QDBus::BlockWithGui, 5000);
    ASSERT_TRUE(waitUntil([&] { return !openedTab.isEmpty(); }));
    EXPECT_EQ(openedTab, QStringLiteral("general"));
}

TEST_F(AppDelegateTest, WithoutAnyTrayThePopoverIsAWindowWithAHintUntilATrayAppears)
{
    launch(false);
    auto& popover = delegate->popover();
    ASSERT_TRUE(waitUntil([&] { return popover.isVisible(); }));
    EXPECT_TRUE(popover.isWindowMode());
    EXPECT_EQ(popover.windowTitle(), QStringLiteral("Orbistat"));
    const auto labels = popover.findChildren<QLabel*>();
    const bool hintShown = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
        return label->isVisible() && label->text() == PopoverWindow::noTrayHint();
    });
    EXPECT_TRUE(hintShown);
    EXPECT_TRUE(PopoverWindow::noTrayHint().contains(QStringLiteral("AppIndicator")));

    // A panel that starts later gets the item, and the hint goes.
    watcher.emplace(panel);
    ASSERT_TRUE(waitUntil([&] { return !watcher->registrations().isEmpty(); }));
    ASSERT_TRUE(waitUntil([&] {
        return std::none_of(labels.begin(), labels.end(), [](QLabel* label) { return label->isVisible(); });
    }));
}

TEST_F(AppDelegateTest, ThePopoverHostsTheCardsAndItsHeaderMenuOpensSettingsOnGeneral)
{
    launch();
    EXPECT_EQ(delegate->popover().content(), &delegate->popoverView());
    QString openedTab;
    delegate->settingsOpener = [&](SystemMonitor&, const QString& tab) { openedTab = tab; };
    callItem(QStringLiteral("Activate"), {100, 100});
    ASSERT_TRUE(waitUntil([&] { return delegate->popover().isVisible(); }));
    EXPECT_TRUE(delegate->popoverView().isVisible());
    delegate->popoverView().header()->settingsAction()->trigger();
    ASSERT_TRUE(waitUntil([&] { return !openedTab.isEmpty(); }));
    EXPECT_EQ(openedTab, QStringLiteral("general"));
    EXPECT_FALSE(delegate->popover().isVisible()) << "the popover makes way for the settings window";
}

TEST(SingleInstance, TheSecondClaimantHandsItsRequestToTheFirst)
{
    PrivateBus bus;
    auto firstBus = bus.connect(QStringLiteral("first"));
    auto secondBus = bus.connect(QStringLiteral("second"));
    SingleInstance first(firstBus);
    int popovers = 0;
    QString tab;
    first.onOpenPopover = [&] { ++popovers; };
    first.onShowSettings = [&](const QString& t) { tab = t; };
    ASSERT_TRUE(becomeSingleInstance(first, firstBus, QStringLiteral("OpenPopover")));
    EXPECT_EQ(first.claim(), SingleInstance::Claim::first) << "claiming again keeps the name";

    SingleInstance second(secondBus);
    EXPECT_FALSE(becomeSingleInstance(second, secondBus, QStringLiteral("OpenPopover")));
    ASSERT_TRUE(waitUntil([&] { return popovers == 1; }));
    SingleInstance third(secondBus);
    EXPECT_FALSE(becomeSingleInstance(third, secondBus, QStringLiteral("ShowSettings"), {QStringLiteral("alerts")}));
    ASSERT_TRUE(waitUntil([&] { return tab == QStringLiteral("alerts"); }));

    SingleInstance alone(QDBusConnection(QStringLiteral("orbistat-no-such-bus")));
    EXPECT_EQ(alone.claim(), SingleInstance::Claim::noBus);
}
