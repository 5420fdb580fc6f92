#include "widget/WidgetHost.h"

#include "widget/WidgetWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace orbistat::widget {

namespace {
// Gap between widgets and from the screen's edge, in points.
constexpr int placementGap = 16;
} // namespace

WidgetHost::WidgetHost(const StatsProvider& provider, std::optional<QString> storeFolder, QObject* parent)
    : QObject(parent)
    , provider_(provider)
    , watcher_(std::move(storeFolder))
{
    connect(&watcher_, &ReloadWatcher::reloadRequested, this, &WidgetHost::reloadAllTimelines);
}

WidgetHost::~WidgetHost()
{
    for (auto& slot : slots_)
        delete slot->window.data();
}

WidgetWindow* WidgetHost::addWidget(WidgetKind kind, WidgetFamily family, std::optional<Appearance> appearance,
                                    bool show)
{
    auto slot = std::make_unique<Slot>();
    slot->window = new WidgetWindow(kind, family, appearance);
    slot->window->setAttribute(Qt::WA_DeleteOnClose);
    slot->timer = std::make_unique<QTimer>();
    slot->timer->setSingleShot(true);
    // Coarse timers may fire 5 % late, 15 s on a five-minute wait; the entry
    // should change at the date the timeline names.
    slot->timer->setTimerType(Qt::PreciseTimer);
    Slot* raw = slot.get();
    connect(slot->timer.get(), &QTimer::timeout, this, [this, raw] { requestTimeline(*raw); });
    connect(slot->window, &WidgetWindow::refreshRequested, this, [this, raw] { requestTimeline(*raw); });
    // Closing the last widget ends the program (tool windows do not count
    // for Qt's own rule).
    connect(slot->window, &QObject::destroyed, this, [this, raw] {
        // A widget announces its end before its guard is cleared.
        raw->window.clear();
        raw->timer->stop();
        if (windows().empty())
            emit allWidgetsClosed();
    });
    slots_.push_back(std::move(slot));

    requestTimeline(*raw);
    if (show) {
        place(*raw->window);
        raw->window->show();
    }
    return raw->window;
}

void WidgetHost::reloadAllTimelines()
{
    for (auto& slot : slots_)
        requestTimeline(*slot);
}

void WidgetHost::requestTimeline(Slot& slot)
{
    if (!slot.window) {  // closed by the user
        slot.timer->stop();
        return;
    }
    ++timelineRequests_;
    const StatsTimeline timeline = provider_.timeline();
    if (!timeline.entries.empty())
        slot.window->setEntry(timeline.entries.front());
    const QDateTime from = timeline.entries.empty() ? QDateTime::currentDateTimeUtc() : timeline.entries.front().date;
    const qint64 wait = from.msecsTo(timeline.reloadAfter);
    // A date already passed asks again soon, not in a tight loop.
    slot.timer->start(static_cast<int>(std::clamp<qint64>(wait, 1000, std::numeric_limits<int>::max())));
}

std::optional<qint64> WidgetHost::msUntilNextRequest() const
{
    std::optional<qint64> soonest;
    for (const auto& slot : slots_) {
        if (slot->window && slot->timer->isActive())
            soonest = std::min<qint64>(soonest.value_or(std::numeric_limits<qint64>::max()),
                                       slot->timer->remainingTime());
    }
    return soonest;
}

std::vector<WidgetWindow*> WidgetHost::windows() const
{
    std::vector<WidgetWindow*> windows;
    for (const auto& slot : slots_) {
        if (slot->window)
            windows.push_back(slot->window);
    }
    return windows;
}

void WidgetHost::place(WidgetWindow& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // A column down the right edge; a widget that does not fit below the
    // previous one starts a new column to its left.
    int right = area.right() - placementGap;
    int top = area.top() + placementGap;
    int columnWidth = 0;
    for (WidgetWindow* other : windows()) {
        if (other == &window || !other->isVisible())
            continue;
        if (top + other->height() > area.bottom() - placementGap && top > area.top() + placementGap) {
            right -= columnWidth + placementGap;
            top = area.top() + placementGap;
            columnWidth = 0;
        }
        top += other->height() + placementGap;
        columnWidth = std::max(columnWidth, other->width());
    }
    if (top + window.height() > area.bottom() - placementGap && top > area.top() + placementGap) {
        right -= columnWidth + placementGap;
        top = area.top() + placementGap;
    }
    window.move(right - window.width() + 1, top);
}

} // namespace orbistat::widget
