#include "app/HeadlessRunner.h"

#include "app/MonitorJson.h"
#include "app/StatusLine.h"
#include "app/ListingNotifier.h"
#include "alerts/AlertManager.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace orbistat {

HeadlessRunner::HeadlessRunner(SystemMonitor& monitor, const SettingsStore& settings, AlertManager* alerts, Format format,
                               std::optional<long long> count, std::optional<double> interval)
    : monitor_(monitor)
    , settings_(settings)
    , alerts_(alerts)
    , format_(format)
    , count_(count)
    , interval_(interval)
    , out_(stdout)
{
}

void HeadlessRunner::start()
{
    monitor_.onUpdate = [this] { onTick(); };
    monitor_.start(interval_);
}

void HeadlessRunner::onTick()
{
    // Ticks after the last requested one (a timer firing before the quit
    // is processed) write nothing.
    if (count_ && ticks_ >= *count_)
        return;
    ++ticks_;
    if (alerts_)
        alerts_->evaluate(monitor_);
    const auto posted = notifications_ ? notifications_->takePosted() : std::vector<Notification>{};
    if (format_ == Format::json) {
        auto object = toJson(monitor_);
        if (notifications_) {
            QJsonArray alerts;
            for (const auto& notification : posted)
                alerts.append(QJsonObject{{QStringLiteral("identifier"), notification.identifier},
                                          {QStringLiteral("title"), notification.title},
                                          {QStringLiteral("body"), notification.body}});
            object.insert(QLatin1String("alerts"), alerts);
        }
        out_ << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n';
    } else {
        readings_.update(monitor_);
        out_ << statusItemText(readings_, settings_);
        if (details_)
            out_ << QStringLiteral(" | ") << statusLine(monitor_);
        out_ << '\n';
    }
    out_.flush();
    if (afterEachTick_)
        afterEachTick_();
    if (count_ && ticks_ >= *count_) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

} // namespace orbistat
