// Points the shared store at a temporary runtime folder for the life of a
// test, so the widget program's reads (and the monitor-side writes a test
// makes to feed it) never touch the user's real store.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace orbistat::test {

struct WidgetStoreEnvironment {
    QTemporaryDir runtime;
    explicit WidgetStoreEnvironment(const char* groups = "group.widgettest")
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        qputenv("ORBISTAT_APP_GROUPS", groups);
    }
    ~WidgetStoreEnvironment()
    {
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("ORBISTAT_APP_GROUPS");
    }
    WidgetStoreEnvironment(const WidgetStoreEnvironment&) = delete;
    WidgetStoreEnvironment& operator=(const WidgetStoreEnvironment&) = delete;

    QString folder() const { return runtime.path() + QStringLiteral("/orbistat/group.widgettest"); }
};

} // namespace orbistat::test
