#pragma once

#include "platform/LoginItem.h"

namespace orbistat::test {

// A login item that can be told to refuse changes, as a read-only autostart
// folder would.
class FakeLoginItem final : public LoginItem {
public:
    bool isEnabled() const override { return enabled; }
    void enable() override
    {
        ++changes;
        if (!refuses)
            enabled = true;
    }
    void disable() override
    {
        ++changes;
        if (!refuses)
            enabled = false;
    }

    bool enabled = false;
    bool refuses = false;
    int changes = 0;
};

} // namespace orbistat::test
