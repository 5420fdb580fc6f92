#include "app/HeadlessRunner.h"

#include "app/MonitorJson.h"
#include "app/StatusLine.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <cstdio>

namespace orbistat {

HeadlessRunner::HeadlessRunner(SystemMonitor& monitor, Format format, std::optional<long long> count, std::optional<double> interval)
    : monitor_(monitor)
    , format_(format)
    , count_(count)
    , interval_(interval)
    , out_(stdout)
{
}

void HeadlessRunner::start()
{
    monitor_.onUpdate = [this] { onTick(); };
    monitor_.start();
    if (interval_)
        monitor_.setInterval(*interval_);
}

void HeadlessRunner::onTick()
{
    ++ticks_;
    if (format_ == Format::json)
        out_ << QJsonDocument(toJson(monitor_)).toJson(QJsonDocument::Compact) << '\n';
    else
        out_ << statusLine(monitor_) << '\n';
    out_.flush();
    if (afterEachTick_)
        afterEachTick_();
    if (count_ && ticks_ >= *count_) {
        monitor_.onUpdate = nullptr;
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

} // namespace orbistat
