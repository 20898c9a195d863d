#pragma once

#include <cstdint>

namespace homeclick::platform {

// Sent by the hotkey procedure to the receiving control, wParam the hotkey's
// identifier, lParam 0; a label turns it into its feedback event.
inline constexpr std::uint32_t hotkey_feedback_message = 0x8075;

// Identifiers that register_hotkey hands out; RegisterHotKey accepts
// application identifiers up to 0xBFFF.
inline constexpr std::int32_t first_hotkey_identifier = 33001;

// Each timer control runs its system timer on its own window under this identifier.
inline constexpr std::uintptr_t timer_identifier = 1000;

} // namespace homeclick::platform
