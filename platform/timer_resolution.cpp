#include "platform/timer_resolution.h"

#include <windows.h>
#include <timeapi.h>

#include <utility>

namespace homeclick::platform::timer_resolution {
namespace {

constexpr UINT finest_period_ms = 1;

unsigned begin_period(unsigned milliseconds)
{
    return timeBeginPeriod(milliseconds);
}

unsigned end_period(unsigned milliseconds)
{
    return timeEndPeriod(milliseconds);
}

period_calls calls{begin_period, end_period};

} // namespace

void request() noexcept
{
    calls.begin(finest_period_ms);
}

void release() noexcept
{
    calls.end(finest_period_ms);
}

period_calls replace_calls(period_calls replacement) noexcept
{
    return std::exchange(calls, replacement);
}

} // namespace homeclick::platform::timer_resolution
