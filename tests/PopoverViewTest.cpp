// The popover as a whole: which cards it shows and in what order, the hint
// for an empty choice, the header and its menu, live updates while shown,
// no work at all while hidden, and a hostile machine laid out cleanly.
#include "PopoverFixture.h"
#include "ViewWork.h"
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"
#include "ui/cards/CPUCard.h"
#include "ui/cards/SensorsCard.h"
#include "ui/components/MenuButton.h"
#include "ui/components/MetricCard.h"
#include "ui/components/RingGauge.h"
#include "ui/components/StatRow.h"
#include "ui/components/TextLabel.h"
#include "ui/popover/CardChoice.h"
#include "ui/popover/HeaderView.h"
#include "ui/popover/PopoverRender.h"
#include "ui/popover/PopoverView.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::ui;

namespace {

void settle()
{
    for (int pass = 0; pass < 16; ++pass)
        QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

bool shown(const QWidget* part)
{
    return part && part->isVisibleTo(part->window());
}

} // namespace

TEST(PopoverView, CardsInTheirFixedOrderEachOnlyWithItsData)
{
    struct Case {
        const char* stored;
        bool accessories;  // the monitor reports at least one
        bool gpu;
        bool sensors;
        std::vector<PopoverCard> cards;
        bool hint;
    };
    using C = PopoverCard;
    const std::vector<Case> cases = {
        {"cpu,memory,network,disk,gpu,sensors,battery,accessories", true, true, true,
         {C::cpu, C::memory, C::network, C::disk, C::gpu, C::sensors, C::battery, C::accessories}, false},
        {"accessories,cpu", true, true, true, {C::cpu, C::accessories}, false},
        {"accessories,cpu", false, true, true, {C::cpu}, false},
        {"", true, true, true, {}, true},
        {",,,", true, true, true, {}, true},
        {"gpu", true, false, true, {}, false},
        {"sensors,disk", true, true, false, {C::disk}, false},
        {"foo, cpu", true, true, true, {}, false},
        {"battery,battery,gpu", true, true, true, {C::gpu, C::battery}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        test::PopoverFixture fixture;
        fixture.settings.setValue(SettingsKey::visibleCards, QString::fromLatin1(c.stored));
        DemoData data = makeDemoData();
        if (!c.accessories)
            data.accessories.clear();
        if (!c.gpu)
            data.gpu.reset();
        if (!c.sensors)
            data.sensors = {};
        fixture.publish(data);
        PopoverView view(fixture.monitor, fixture.settings);
        renderPopover(view, 0, 1.0);
        EXPECT_EQ(view.shownCards(), c.cards);
        EXPECT_EQ(ui::shownCards(fixture.settings.visibleCards(), fixture.monitor), c.cards);
        EXPECT_EQ(shown(view.emptyText()), c.hint);
        // Top to bottom in the same order.
        int previousBottom = 0;
        for (const PopoverCard card : c.cards) {
            const QWidget* widget = view.card(card);
            EXPECT_GE(widget->mapTo(&view, QPoint(0, 0)).y(), previousBottom + PopoverView::cardSpacing);
            previousBottom = widget->mapTo(&view, QPoint(0, widget->height())).y();
        }
    }
}

TEST(PopoverView, EmptyChoiceHintAndFixedWidth)
{
    test::PopoverFixture fixture;
    fixture.settings.setValue(SettingsKey::visibleCards, QString());
    PopoverView view(fixture.monitor, fixture.settings);
    const QImage image = renderPopover(view, 0, 1.0);
    EXPECT_EQ(image.width(), 340);
    EXPECT_EQ(view.width(), 340);
    EXPECT_EQ(view.emptyText()->text(), QStringLiteral("No cards selected. Choose what to show in Settings → Popover."));
    EXPECT_EQ(view.emptyText()->role(), ColorRole::secondary);
    // 24 above and below the hint inside the 12-point padding.
    const int top = view.emptyText()->mapTo(&view, QPoint(0, 0)).y() - view.scrollArea()->mapTo(&view, QPoint(0, 0)).y();
    EXPECT_EQ(top, PopoverView::columnPadding + PopoverView::emptyTextPadding);
    // It wraps onto two centred lines rather than being cut.
    EXPECT_GT(view.emptyText()->height(), view.emptyText()->sizeHint().height());
}

TEST(PopoverView, HeaderNamesTheProgramAndItsMenuSettingsAndQuit)
{
    test::PopoverFixture fixture;
    int settingsOpened = 0;
    int quits = 0;
    PopoverView view(fixture.monitor, fixture.settings, {[&] { ++settingsOpened; }, [&] { ++quits; }});
    renderPopover(view, 0, 1.0);
    HeaderView* header = view.header();
    EXPECT_EQ(header->nameLabel()->text(), QStringLiteral("Orbistat"));
    EXPECT_EQ(header->processorLabel()->text(), QStringLiteral("CPU"));
    EXPECT_EQ(header->menuButton()->toolTip(), QStringLiteral("Settings and quit"));
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(header->menuButton());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Orbistat menu"));
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(header->menuButton()->focusPolicy(), Qt::StrongFocus);

    const QList<QAction*> items = header->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Settings…"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("Quit Orbistat"));
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    items[0]->trigger();
    EXPECT_EQ(settingsOpened, 1);

    // The shortcuts work while the popover has the focus.
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::keyClick(&view, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
    QTest::keyClick(&view, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(settingsOpened, 2);
}

TEST(PopoverView, QuitWithoutAnActionOfItsOwnEndsTheProgram)
{
    test::PopoverFixture fixture;
    PopoverView view(fixture.monitor, fixture.settings);
    QTimer::singleShot(0, view.header()->quitAction(), &QAction::trigger);
    // A second timer fails the test instead of hanging it if quit is lost.
    bool ended = true;
    QTimer::singleShot(5000, qApp, [&] {
        ended = false;
        QCoreApplication::exit(1);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(ended);
}

TEST(PopoverView, FollowsTheMonitorWhileShown)
{
    test::PopoverFixture fixture;
    PopoverView view(fixture.monitor, fixture.settings);
    view.resize(PopoverView::viewWidth, 800);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    settle();
    auto* cpu = static_cast<CPUCard*>(view.card(PopoverCard::cpu));
    EXPECT_DOUBLE_EQ(cpu->ring()->fraction(), 0.34);

    DemoData data = makeDemoData();
    data.cpu.total = 0.81;
    data.cpu.user = 0.5;
    data.accessories.clear();
    fixture.publish(data);
    settle();
    EXPECT_DOUBLE_EQ(cpu->ring()->fraction(), 0.81);
    EXPECT_EQ(cpu->userRow()->value(), QStringLiteral("50%"));
    EXPECT_FALSE(shown(view.card(PopoverCard::accessories)));

    // A card turned off in the settings window goes at once.
    fixture.settings.setValue(SettingsKey::visibleCards, QStringLiteral("memory"));
    settle();
    EXPECT_EQ(view.shownCards(), std::vector<PopoverCard>{PopoverCard::memory});
}

TEST(PopoverView, AHiddenPopoverDoesNoWorkOnATickAndCatchesUpWhenShown)
{
    test::PopoverFixture fixture;
    PopoverView view(fixture.monitor, fixture.settings);
    view.resize(PopoverView::viewWidth, 800);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    settle();
    view.hide();
    settle();
    auto* cpu = static_cast<CPUCard*>(view.card(PopoverCard::cpu));

    test::ViewWork work(view);
    for (int tick = 0; tick < 5; ++tick) {
        DemoData data = makeDemoData();
        data.cpu.total = 0.1 * tick;
        data.cpu.perCore.push_back(0.1 * tick);
        data.accessories.resize(static_cast<size_t>(tick % 3) + 1, data.accessories.front());
        data.sensors.fans.push_back({1, 2000.0 + tick, 1000.0, 5000.0});
        fixture.publish(data);
        settle();
    }
    EXPECT_EQ(work.paints, 0);
    EXPECT_EQ(work.layouts, 0);
    EXPECT_FALSE(cpu->ring()->isAnimating());
    EXPECT_TRUE(cpu->isOutOfDate());
    EXPECT_DOUBLE_EQ(cpu->ring()->fraction(), 0.34);

    view.show();
    settle();
    EXPECT_FALSE(cpu->isOutOfDate());
    EXPECT_DOUBLE_EQ(cpu->ring()->fraction(), 0.4);
    // Nobody saw the old value: the new one is shown without moving to it.
    EXPECT_FALSE(cpu->ring()->isAnimating());
    EXPECT_GT(work.paints, 0);
}

TEST(PopoverView, NaturalHeightFitsWithoutScrollingAndAShorterOneScrolls)
{
    test::PopoverFixture fixture;
    PopoverView view(fixture.monitor, fixture.settings);
    const int natural = view.naturalHeight();
    renderPopover(view, natural, 1.0);
    EXPECT_FALSE(view.scrollArea()->verticalScrollBar()->isVisibleTo(&view));
    renderPopover(view, 500, 1.0);
    EXPECT_TRUE(view.scrollArea()->verticalScrollBar()->isVisibleTo(&view));
    EXPECT_GT(view.scrollArea()->verticalScrollBar()->maximum(), natural - 500 - 20);
}

TEST(PopoverView, AHostileMachineLaysOutWithoutOverlap)
{
    test::PopoverFixture fixture;
    fixture.publish(test::hostileData());
    PopoverView view(fixture.monitor, fixture.settings);
    static_cast<SensorsCard*>(view.card(PopoverCard::sensors))->setShowAllSensors(true);
    const int natural = view.naturalHeight();
    for (const int height : {natural, 700}) {
        SCOPED_TRACE(height);
        const QImage image = renderPopover(view, height, 2.0);
        ASSERT_FALSE(image.isNull());
        view.setAttribute(Qt::WA_DontShowOnScreen, true);
        view.resize(PopoverView::viewWidth, height);
        view.show();
        settle();
        EXPECT_EQ(view.shownCards().size(), 8u);
        for (const PopoverCard which : view.shownCards()) {
            const MetricCard* card = view.card(which);
            SCOPED_TRACE(card->title().toStdString());
            EXPECT_EQ(card->width(), PopoverView::viewWidth - 2 * PopoverView::columnPadding -
                                         (view.scrollArea()->verticalScrollBar()->isVisible() ? view.scrollArea()->verticalScrollBar()->width() : 0));
            // Every visible part lies inside its card, inside the padding.
            const QRect inner = card->rect().adjusted(MetricCard::padding, MetricCard::padding, -MetricCard::padding, -MetricCard::padding);
            for (const QWidget* part : card->findChildren<QWidget*>()) {
                if (!part->isVisible() || part->size().isEmpty())
                    continue;
                const QRect box(part->mapTo(card, QPoint(0, 0)), part->size());
                EXPECT_TRUE(inner.contains(box)) << part->metaObject()->className();
                // Siblings in a column or row never overlap.
                for (const QObject* other : part->parentWidget()->children()) {
                    const auto* sibling = qobject_cast<const QWidget*>(other);
                    if (!sibling || sibling == part || !sibling->isVisible() || sibling->size().isEmpty())
                        continue;
                    EXPECT_FALSE(sibling->geometry().intersects(part->geometry()))
                        << part->metaObject()->className() << " and " << sibling->metaObject()->className();
                }
            }
        }
        EXPECT_EQ(view.scrollArea()->verticalScrollBar()->isVisible(), height < natural);
        view.hide();
    }
    // The 200 sensors' names are one line each, cut short, never markup.
    const auto* sensors = static_cast<SensorsCard*>(view.card(PopoverCard::sensors));
    ASSERT_NE(sensors->sensorRow(199), nullptr);
    EXPECT_TRUE(sensors->sensorRow(199)->shownLabel().startsWith(QStringLiteral("<b>bold</b>")));
    EXPECT_LT(sensors->sensorRow(199)->shownLabel().size(), 100);
}
