// The fake NVML shared object, opened by the test itself so that its state
// outlives every load and unload the program makes, and reset to its
// defaults. `loader()` loads it through the program's own dlopen path and
// counts the loads.
#pragma once

#include "fakenvml/FakeNvmlState.h"
#include "platform/linux/NvmlSession.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace orbistat::test {

class FakeNvmlLibrary {
public:
    FakeNvmlLibrary()
        : handle_(::dlopen(ORBISTAT_FAKE_NVML, RTLD_NOW | RTLD_LOCAL))
    {
        EXPECT_NE(handle_, nullptr) << ::dlerror();
        if (handle_ == nullptr)
            return;
        auto* stateOf = reinterpret_cast<FakeNvmlState* (*)()>(::dlsym(handle_, "fakeNvmlState"));
        EXPECT_NE(stateOf, nullptr);
        state_ = stateOf ? stateOf() : nullptr;
        if (state_)
            *state_ = FakeNvmlState{};
    }
    ~FakeNvmlLibrary()
    {
        if (handle_)
            ::dlclose(handle_);
    }
    FakeNvmlLibrary(const FakeNvmlLibrary&) = delete;
    FakeNvmlLibrary& operator=(const FakeNvmlLibrary&) = delete;

    FakeNvmlState& state() { return state_ ? *state_ : fallback_; }
    int loads() const { return loads_; }
    NvmlSession::Loader loader()
    {
        return [this] {
            ++loads_;
            return loadNvml(ORBISTAT_FAKE_NVML);
        };
    }

private:
    void* handle_;
    FakeNvmlState* state_ = nullptr;
    FakeNvmlState fallback_;
    int loads_ = 0;
};

} // namespace orbistat::test
