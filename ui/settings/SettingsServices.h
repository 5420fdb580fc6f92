// What the settings window works with besides the monitor: the settings it
// edits, the alert manager that sends the test notification and the login
// item behind "Launch at login". The screenshot export has neither of the
// last two; their controls then show their resting state and do nothing.
#pragma once

namespace orbistat {

class AlertManager;
class LoginItem;
class SettingsStore;

struct SettingsServices {
    SettingsStore& settings;
    AlertManager* alerts = nullptr;
    LoginItem* loginItem = nullptr;
};

} // namespace orbistat
