// The host of the desktop widgets: it asks the provider for each widget's
// timeline, shows the entry, and asks again at the date the timeline names
// or at once when the monitor requests a reload.
#pragma once

#include "widget/ReloadWatcher.h"
#include "widget/StatsProvider.h"
#include "widget/WidgetKind.h"
#include "widget/WidgetPalette.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

namespace orbistat::widget {

class WidgetWindow;

class WidgetHost : public QObject {
    Q_OBJECT

public:
    // The provider outlives the host. storeFolder: where the monitor's
    // reload requests appear (absent: only the timelines' own dates count).
    WidgetHost(const StatsProvider& provider, std::optional<QString> storeFolder, QObject* parent = nullptr);
    ~WidgetHost() override;

    // Creates the widget's window, fills it from a fresh timeline and shows
    // it (placed in a column at the screen's top right) when `show` is set.
    WidgetWindow* addWidget(WidgetKind kind, WidgetFamily family, std::optional<Appearance> appearance,
                            bool show = true);

    // Asks the provider again for every widget's timeline.
    void reloadAllTimelines();

    int timelineRequests() const { return timelineRequests_; }
    // Time until the next scheduled request; absent without widgets.
    std::optional<qint64> msUntilNextRequest() const;
    std::vector<WidgetWindow*> windows() const;

signals:
    void allWidgetsClosed();

private:
    struct Slot {
        QPointer<WidgetWindow> window;
        std::unique_ptr<QTimer> timer;
    };

    void requestTimeline(Slot& slot);
    void place(WidgetWindow& window);

    const StatsProvider& provider_;
    ReloadWatcher watcher_;
    std::vector<std::unique_ptr<Slot>> slots_;
    int timelineRequests_ = 0;
};

} // namespace orbistat::widget
