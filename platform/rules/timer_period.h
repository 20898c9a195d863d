#pragma once

#include <cstdint>

namespace homeclick::rules {

struct period_change {
    std::int32_t stored; // the period held after the write, never negative
    bool stop_running;   // KillTimer first
    bool start;          // then SetTimer with the stored period

    friend constexpr bool operator==(const period_change&, const period_change&) = default;
};

// Writing the period already held must not restart the timer: otherwise every
// write would push the next tick a full period away.
[[nodiscard]] constexpr period_change write_period(std::int32_t held, std::int32_t requested) noexcept
{
    const std::int32_t wanted = requested < 0 ? 0 : requested;
    if (wanted == held) {
        return {held, false, false};
    }
    return {wanted, held > 0, wanted > 0};
}

} // namespace homeclick::rules
