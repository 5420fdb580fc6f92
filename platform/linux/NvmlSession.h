// The one NVML session of the program, shared by the GPU load reader and
// the GPU energy reader, and held only while an NVIDIA GPU is busy.
//
// An open session (nvmlInit) keeps the driver's runtime-PM reference on
// every NVIDIA GPU until nvmlShutdown: a laptop's discrete GPU that was awake
// when the session began would never sleep again, and an awake discrete GPU
// costs hours of battery. So:
//  - nothing of NVML is called while any NVIDIA display controller is
//    runtime-suspended, not even its start (the call would wake the GPU);
//  - the session ends after `idlePollsBeforeRelease` polls in a row found
//    no GPU busy, so the driver can suspend the GPU;
//  - a new session starts only when the GPU is awake for a reason other
//    than this program: it slept since the last session ended and something
//    woke it, or it stayed awake `stillAwakeRetry` seconds without us;
//  - a GPU whose runtime power management is off (`power/control` "on",
//    status "unsupported": desktops) never sleeps, so a session there keeps
//    nothing awake and is not ended.
// Starting is slow on some drivers (tens to hundreds of milliseconds), so
// it never happens on every tick: a failed start waits `stillAwakeRetry`
// seconds, and a GPU that stays awake and idle is looked at again at most
// once per `stillAwakeRetry`.
#pragma once

#include "platform/Clock.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/NvmlLibrary.h"
#include "platform/linux/RescanSchedule.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orbistat {

class NvmlSession {
public:
    using Loader = std::function<std::optional<NvmlApi>()>;

    static constexpr int idlePollsBeforeRelease = 3;
    // A GPU below this utilisation is idle.
    static constexpr unsigned busyPercent = 5;
    static constexpr double stillAwakeRetry = 30.0;
    // The most devices asked: no machine holds more, and a driver answering
    // nonsense must not make a tick loop for long.
    static constexpr unsigned maximumDevices = 64;

    // The clock paces the search for NVIDIA devices in sysfs and the retries.
    // The loader is called at most once, when the library is first wanted.
    NvmlSession(const LinuxRoot& root, const Clock& clock, Loader loader = [] { return loadNvml(); });
    ~NvmlSession();
    NvmlSession(const NvmlSession&) = delete;
    NvmlSession& operator=(const NvmlSession&) = delete;

    // Whether sysfs shows an NVIDIA display controller (looked for again
    // every 30 s).
    bool hasDevices();
    // The library, loaded (not started) on first use; null when missing.
    const NvmlApi* library();

    // The tick's first use, by the load reader: true when a session is open
    // and every NVIDIA GPU is awake, starting one when the rules allow.
    bool begin();
    // The load reader's verdict on the poll begun: whether a GPU was busy.
    void endPoll(bool anyBusy);
    // Later uses in the same tick (the energy reader): true when a session
    // is open and every NVIDIA GPU is awake. Never starts one.
    bool isUsable();

    bool isOpen() const { return isOpen_; }
    // Valid while a session is open. One entry per NVML device; absent
    // where the device's handle could not be had.
    const NvmlApi& api() const { return *library_; }
    const std::vector<std::optional<NvmlDevice>>& devices() const { return handles_; }

private:
    struct Controller {
        std::string path;       // relative sysfs path of the PCI device
        bool canSleep = true;   // runtime power management is on
    };

    void scanIfDue(double now);
    // Reads every controller's runtime state; true when one is suspended.
    bool anySuspended();
    bool mayStart(double now) const;
    void start(double now);
    void release(double now);

    LinuxRoot root_;
    const Clock& clock_;
    Loader loader_;
    RescanSchedule scan_;
    std::vector<Controller> controllers_;
    std::optional<NvmlApi> library_;
    bool loadAttempted_ = false;

    bool isOpen_ = false;
    std::vector<std::optional<NvmlDevice>> handles_;
    int idlePolls_ = 0;
    // Since the last session ended (absent: there never was one).
    std::optional<double> releasedAt_;
    bool sleptSinceRelease_ = false;
    std::optional<double> failedStartAt_;
    double lastPoll_ = 0.0;
};

} // namespace orbistat
