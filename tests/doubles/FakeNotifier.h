#pragma once

#include "platform/Notifier.h"

#include <functional>
#include <vector>

namespace orbistat::test {

// Records posts; permission requests wait until the test answers them.
class FakeNotifier final : public Notifier {
public:
    void requestAuthorization(std::function<void(bool granted)> answer) override { pending.push_back(std::move(answer)); }
    void post(const Notification& notification) override { posted.push_back(notification); }

    void answer(bool granted)
    {
        auto waiting = std::move(pending);
        pending.clear();
        for (auto& callback : waiting)
            callback(granted);
    }

    std::vector<Notification> posted;
    std::vector<std::function<void(bool)>> pending;
};

} // namespace orbistat::test
