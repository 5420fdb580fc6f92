#include "platform/linux/NvmlLibrary.h"

#include <dlfcn.h>

namespace orbistat {

namespace {

template <typename F>
bool lookUp(void* library, const char* name, F& function)
{
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

} // namespace

std::optional<NvmlApi> loadNvml(const char* path)
{
    void* library = ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return std::nullopt;
    NvmlApi api;
    if (!lookUp(library, "nvmlInit_v2", api.init) || !lookUp(library, "nvmlShutdown", api.shutdown)
        || !lookUp(library, "nvmlDeviceGetCount_v2", api.deviceCount) || !lookUp(library, "nvmlDeviceGetHandleByIndex_v2", api.deviceByIndex)) {
        ::dlclose(library);
        return std::nullopt;
    }
    lookUp(library, "nvmlDeviceGetUtilizationRates", api.utilization);
    lookUp(library, "nvmlDeviceGetTotalEnergyConsumption", api.totalEnergy);
    api.unload = [library] { ::dlclose(library); };
    return api;
}

} // namespace orbistat
