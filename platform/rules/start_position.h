#pragma once

#include <cstdint>

namespace homeclick::rules {

struct screen_point {
    std::int32_t x;
    std::int32_t y;

    friend constexpr bool operator==(const screen_point&, const screen_point&) = default;
};

// Centred on the primary screen; on a screen smaller than the window the corner
// goes negative and is used as it is. Division truncates toward zero.
[[nodiscard]] constexpr screen_point centred_start(std::int32_t screen_width, std::int32_t screen_height,
                                                   std::int32_t window_width, std::int32_t window_height) noexcept
{
    return {static_cast<std::int32_t>((std::int64_t{screen_width} - window_width) / 2),
            static_cast<std::int32_t>((std::int64_t{screen_height} - window_height) / 2)};
}

} // namespace homeclick::rules
