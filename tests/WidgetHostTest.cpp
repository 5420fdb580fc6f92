#include "doubles/WidgetStoreEnvironment.h"
#include "shared/SharedStatsStore.h"
#include "widget/ReloadWatcher.h"
#include "widget/WidgetCommandLine.h"
#include "widget/WidgetHost.h"
#include "widget/WidgetWindow.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::widget;

namespace {

SharedStats snapshotNow()
{
    SharedStats stats;
    stats.cpu = 0.4;
    stats.updated = QDateTime::currentDateTimeUtc();
    return stats;
}

// Lets queued file-system notifications arrive.
void settle(int ms = 300)
{
    QTest::qWait(ms);
}

} // namespace

TEST(WidgetHost, ReloadFileAsksAgainButSnapshotWritesDoNot)
{
    test::WidgetStoreEnvironment store;
    ReloadWatcher watcher(sharedStoreFolder());
    QSignalSpy reloads(&watcher, &ReloadWatcher::reloadRequested);

    // The monitor starts after the widgets: its folder appears, then its
    // first snapshot and reload request.
    ASSERT_TRUE(saveSharedStats(snapshotNow()));
    settle();
    ASSERT_TRUE(requestWidgetReload());
    EXPECT_TRUE(QTest::qWaitFor([&] { return reloads.count() >= 1; }, 3000));
    settle();
    const auto afterFirst = reloads.count();
    EXPECT_EQ(afterFirst, 1);

    // Ticks rewrite the snapshot beside the reload file: no reload.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(saveSharedStats(snapshotNow()));
        settle(100);
    }
    settle();
    EXPECT_EQ(reloads.count(), afterFirst);

    // Every later request counts.
    QTest::qWait(5);
    ASSERT_TRUE(requestWidgetReload());
    EXPECT_TRUE(QTest::qWaitFor([&] { return reloads.count() == afterFirst + 1; }, 3000));
    EXPECT_TRUE(watcher.watchedPaths().contains(store.folder()));
}

TEST(WidgetHost, ShowsTheTimelineAndRequestsAnotherOnReloadOrAfterFiveMinutes)
{
    test::WidgetStoreEnvironment store;
    const StatsProvider provider;
    WidgetHost host(provider, sharedStoreFolder());

    WidgetWindow* window = host.addWidget(WidgetKind::stats, WidgetFamily::medium, Appearance::dark);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(host.timelineRequests(), 1);
    EXPECT_FALSE(window->entry().stats.has_value());
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Open Orbistat to see live stats"));
    EXPECT_EQ(window->size(), QSize(364, 170));
    const auto next = host.msUntilNextRequest();
    ASSERT_TRUE(next.has_value());
    EXPECT_GT(*next, 290'000);
    EXPECT_LE(*next, 300'000);

    ASSERT_TRUE(saveSharedStats(snapshotNow()));
    ASSERT_TRUE(requestWidgetReload());
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.timelineRequests() >= 2; }, 3000));
    ASSERT_TRUE(window->entry().stats.has_value());
    EXPECT_DOUBLE_EQ(window->entry().stats->cpu, 0.4);
    EXPECT_TRUE(window->accessibleDescription().startsWith(QStringLiteral("CPU 40%")));

    // A closed widget is no longer asked for; the last one closing ends the
    // program.
    QSignalSpy closed(&host, &WidgetHost::allWidgetsClosed);
    window->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }, 3000));
    const int requests = host.timelineRequests();
    host.reloadAllTimelines();
    EXPECT_EQ(host.timelineRequests(), requests);
}

TEST(WidgetHost, CommandLineNamesWidgetsInOrder)
{
    const auto parse = [](QStringList arguments) {
        arguments.prepend(QStringLiteral("orbistat-widget"));
        return parseWidgetCommandLine(arguments);
    };
    using Widgets = std::vector<WidgetRequest>;
    struct Case {
        QStringList arguments;
        Widgets widgets;
    };
    const Case cases[] = {
        {{}, Widgets{{WidgetKind::stats, WidgetFamily::small}}},
        {{"--kind", "devices"}, Widgets{{WidgetKind::devices, WidgetFamily::small}}},
        {{"--kind", "stats", "--family", "large", "--kind=devices", "--family=medium"},
         Widgets{{WidgetKind::stats, WidgetFamily::large}, {WidgetKind::devices, WidgetFamily::medium}}},
        {{"--kind", "OrbistatDevicesWidget", "--family", "small", "--family", "large"},
         Widgets{{WidgetKind::devices, WidgetFamily::small}, {WidgetKind::devices, WidgetFamily::large}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const auto parsed = parse(c.arguments);
        ASSERT_TRUE(std::holds_alternative<WidgetCommandLine>(parsed));
        EXPECT_EQ(std::get<WidgetCommandLine>(parsed).widgets, c.widgets);
    }

    const auto render = parse({"--render", "/tmp/x.png", "--kind", "devices", "--family", "large", "--preview", "--dark"});
    ASSERT_TRUE(std::holds_alternative<WidgetCommandLine>(render));
    const auto& line = std::get<WidgetCommandLine>(render);
    EXPECT_EQ(line.renderFile, QStringLiteral("/tmp/x.png"));
    EXPECT_TRUE(line.preview);
    EXPECT_EQ(line.appearance, Appearance::dark);

    for (const QStringList& bad : {QStringList{"--kind", "clock"}, QStringList{"--family"}, QStringList{"--render"},
                                   QStringList{"--bogus"},
                                   QStringList{"--render", "a.png", "--kind", "stats", "--kind", "devices"}}) {
        SCOPED_TRACE(bad.join(' ').toStdString());
        EXPECT_TRUE(std::holds_alternative<QString>(parse(bad)));
    }

    // The gallery's descriptions speak of this computer, not of another
    // platform's machines.
    EXPECT_TRUE(widgetUsageText().contains(QStringLiteral("Battery of your computer and connected Bluetooth accessories. Orbistat must be running.")));
}
