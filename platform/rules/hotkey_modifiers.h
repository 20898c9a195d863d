#pragma once

#include <cstdint>

namespace homeclick::rules {

// Callers name modifiers as 1 Ctrl, 2 Shift, 4 Alt; RegisterHotKey wants
// MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4. All three together (7) and every other
// value are already what the caller means and pass unchanged.
inline constexpr std::int32_t mod_alt = 0x1;
inline constexpr std::int32_t mod_control = 0x2;
inline constexpr std::int32_t mod_shift = 0x4;

[[nodiscard]] constexpr std::int32_t hotkey_modifier_flags(std::int32_t modifiers) noexcept
{
    switch (modifiers) {
    case 1: return mod_control;
    case 2: return mod_shift;
    case 3: return mod_control | mod_shift;
    case 4: return mod_alt;
    case 5: return mod_control | mod_alt;
    case 6: return mod_shift | mod_alt;
    default: return modifiers;
    }
}

} // namespace homeclick::rules
