#pragma once

#include <cstdint>

namespace homeclick::rules {

inline constexpr std::uint32_t mouse_left_down = 0x0002;
inline constexpr std::uint32_t mouse_left_up = 0x0004;
inline constexpr std::uint32_t mouse_right_down = 0x0008;
inline constexpr std::uint32_t mouse_right_up = 0x0010;

struct click_plan {
    std::uint32_t flags;  // one down and its up, sent as one input event
    std::int32_t repeats; // 2 for a double click

    friend constexpr bool operator==(const click_plan&, const click_plan&) = default;
};

// 0 and every unknown kind mean the common case, one left click.
[[nodiscard]] constexpr click_plan click_plan_for(std::int32_t kind) noexcept
{
    switch (kind) {
    case 1: return {mouse_left_down | mouse_left_up, 2};
    case 2: return {mouse_right_down | mouse_right_up, 1};
    case 3: return {mouse_right_down | mouse_right_up, 2};
    default: return {mouse_left_down | mouse_left_up, 1};
    }
}

} // namespace homeclick::rules
