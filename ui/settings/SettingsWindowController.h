// The one settings window of the program. The first `show` creates it; later
// calls bring the same window back. Closing it only hides it. The tab to open
// is stored as "settingsTab" before the window appears, so showing an open
// window on another tab switches it there.
#pragma once

#include "ui/settings/SettingsServices.h"
#include "ui/settings/SettingsTab.h"

#include <QObject>
#include <QWidget>
#include <memory>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class SettingsView;

class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    explicit SettingsWindowController(SettingsServices services, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    // Opens the window on the tab, raised and active.
    void show(SystemMonitor& monitor, SettingsTab tab);

    // Absent until the first show.
    QWidget* window() const { return window_.get(); }
    SettingsView* view() const { return view_; }

signals:
    // The person closed the window (it is hidden, not destroyed).
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWindow(SystemMonitor& monitor);
    void switchTab(int step);

    SettingsServices services_;
    std::unique_ptr<QWidget> window_;
    SettingsView* view_ = nullptr;
};

} // namespace orbistat::ui
