#pragma once

namespace homeclick::platform::timer_resolution {

// Windows ticks its timers every 15.6 ms by default, which turns a 10 ms period
// into 64 ticks a second. While a timer runs, 1 ms resolution is asked for.
// Every request is matched by exactly one release.
void request() noexcept;
void release() noexcept;

// Windows 11 lowers the resolution of processes whose windows are minimised or
// hidden; this process opts out so that clicking keeps its period. Where the
// system has no such throttling the call is skipped.
void keep_when_hidden() noexcept;

// The calls behind request and release, replaceable so that tests can count them.
using period_call = unsigned (*)(unsigned milliseconds);
struct period_calls {
    period_call begin;
    period_call end;
};
period_calls replace_calls(period_calls replacement) noexcept;

} // namespace homeclick::platform::timer_resolution
