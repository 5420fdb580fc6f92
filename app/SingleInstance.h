// One tray program per session: the first `orbistat` owns the name
// org.orbistat.Orbistat on the session bus and answers two requests there,
// OpenPopover() and ShowSettings(tab). A later start finds the name taken,
// passes its request to the owner and ends. The bus hands a name to exactly
// one claimant, so two programs started at the same moment also end with
// one; the object is exported before the name is claimed, so a request that
// arrives the moment the name is owned is answered.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

namespace orbistat {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* serviceName = "org.orbistat.Orbistat";
    static constexpr const char* objectPath = "/org/orbistat/Orbistat";
    static constexpr const char* interfaceName = "org.orbistat.Orbistat";

    enum class Claim {
        first,    // this program owns the name and answers requests
        another,  // a running program owns it
        noBus,    // no session bus: nothing to coordinate with
    };

    explicit SingleInstance(QDBusConnection bus, QObject* parent = nullptr);
    ~SingleInstance() override;

    Claim claim();

    // Passes a request to the running program: "OpenPopover", or
    // "ShowSettings" with the tab. True when it was answered.
    static bool ask(QDBusConnection bus, const QString& method, const QVariantList& arguments = {});

    // Handlers of the requests, run on the main thread.
    std::function<void()> onOpenPopover;
    std::function<void(const QString& tab)> onShowSettings;

private:
    QDBusConnection bus_;
    bool exported_ = false;
    bool ownsName_ = false;
};

// Claims the name and, when another program has it, asks that one to do
// `method` instead. True when this process should go on as the tray
// program (it owns the name, or there is no bus); false when the request
// went to the running program and this one should end.
bool becomeSingleInstance(SingleInstance& instance, QDBusConnection bus, const QString& method,
                          const QVariantList& arguments = {});

} // namespace orbistat
