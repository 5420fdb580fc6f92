#include "platform/linux/NvmlSession.h"

#include "platform/linux/LinuxDrmGpuSource.h"
#include "platform/linux/TextParsing.h"

#include <algorithm>

namespace orbistat {

namespace {

constexpr int nvmlSuccess = 0;
constexpr uint64_t nvidiaVendorId = 0x10de;

} // namespace

NvmlSession::NvmlSession(const LinuxRoot& root, const Clock& clock, Loader loader)
    : root_(root)
    , clock_(clock)
    , loader_(std::move(loader))
{
}

NvmlSession::~NvmlSession()
{
    if (!library_)
        return;
    if (isOpen_)
        library_->shutdown();
    if (library_->unload)
        library_->unload();
}

void NvmlSession::scanIfDue(double now)
{
    if (!scan_.due(now))
        return;
    controllers_.clear();
    // vendor, class and the power/ files are kept in memory by the kernel:
    // reading them never wakes a device.
    for (const auto& address : root_.list("sys/bus/pci/devices")) {
        const std::string base = "sys/bus/pci/devices/" + address;
        const auto vendor = root_.readBytes(base + "/vendor", 64);
        const auto pciClass = root_.readBytes(base + "/class", 64);
        if (!vendor || !pciClass || parseHexUnsigned(*vendor) != nvidiaVendorId || !isDisplayControllerClass(*pciClass))
            continue;
        const bool pmOff = root_.readText(base + "/power/control") == QStringLiteral("on")
            || root_.readText(base + "/power/runtime_status") == QStringLiteral("unsupported");
        controllers_.push_back(Controller{base, !pmOff});
    }
    // An NVIDIA GPU that went away (an external enclosure unplugged) ends
    // the session: there is nothing left to ask.
    if (controllers_.empty() && isOpen_)
        release(now);
}

bool NvmlSession::hasDevices()
{
    scanIfDue(clock_.now());
    return !controllers_.empty();
}

const NvmlApi* NvmlSession::library()
{
    if (!loadAttempted_) {
        loadAttempted_ = true;
        library_ = loader_();
        // Utilisation is what tells a busy GPU from an idle one: a library
        // without it could hold a session it never knows to end.
        if (library_ && !library_->utilization) {
            if (library_->unload)
                library_->unload();
            library_.reset();
        }
    }
    return library_ ? &*library_ : nullptr;
}

bool NvmlSession::anySuspended()
{
    return std::any_of(controllers_.begin(), controllers_.end(),
                       [this](const Controller& controller) { return root_.isRuntimeSuspended(controller.path); });
}

bool NvmlSession::mayStart(double now) const
{
    const auto within = [now](std::optional<double> since) { return since && now >= *since && now - *since < stillAwakeRetry; };
    if (within(failedStartAt_))
        return false;
    // Never held by us, or slept and woken since: awake for its own reasons.
    if (!releasedAt_ || sleptSinceRelease_)
        return true;
    // Still awake a while after the session ended: something else holds it.
    return !within(releasedAt_);
}

void NvmlSession::start(double now)
{
    const NvmlApi* api = library();
    if (!api)
        return;
    if (api->init() != nvmlSuccess) {
        // The driver may not be ready yet.
        failedStartAt_ = now;
        return;
    }
    failedStartAt_.reset();
    isOpen_ = true;
    idlePolls_ = 0;
    handles_.clear();
    // Handles stay valid for the whole session: they are asked for once.
    unsigned int count = 0;
    if (api->deviceCount(&count) != nvmlSuccess)
        return;
    count = std::min(count, maximumDevices);
    for (unsigned int i = 0; i < count; ++i) {
        NvmlDevice device = nullptr;
        handles_.push_back(api->deviceByIndex(i, &device) == nvmlSuccess ? std::optional(device) : std::nullopt);
    }
}

void NvmlSession::release(double now)
{
    library_->shutdown();
    isOpen_ = false;
    handles_.clear();
    idlePolls_ = 0;
    releasedAt_ = now;
    sleptSinceRelease_ = false;
}

bool NvmlSession::begin()
{
    const double now = clock_.now();
    lastPoll_ = now;
    scanIfDue(now);
    if (controllers_.empty())
        return false;
    if (anySuspended()) {
        if (!isOpen_)
            sleptSinceRelease_ = true;
        return false;
    }
    if (!isOpen_ && mayStart(now))
        start(now);
    return isOpen_;
}

void NvmlSession::endPoll(bool anyBusy)
{
    if (!isOpen_)
        return;
    if (anyBusy) {
        idlePolls_ = 0;
        return;
    }
    if (++idlePolls_ < idlePollsBeforeRelease)
        return;
    // A GPU that cannot sleep is kept awake by nothing we hold.
    if (std::none_of(controllers_.begin(), controllers_.end(), [](const Controller& controller) { return controller.canSleep; })) {
        idlePolls_ = 0;
        return;
    }
    release(lastPoll_);
}

bool NvmlSession::isUsable()
{
    return isOpen_ && !controllers_.empty() && !anySuspended();
}

} // namespace orbistat
