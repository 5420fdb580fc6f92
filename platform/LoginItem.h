// Starting the program when the person logs in: ask whether it is set up,
// set it up, take it away. Failures are not reported; the caller reads
// `isEnabled()` afterwards to learn what really happened.
#pragma once

namespace orbistat {

class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool isEnabled() const = 0;
    virtual void enable() = 0;
    virtual void disable() = 0;
};

} // namespace orbistat
