#pragma once

#include <cstdint>
#include <span>

#include "platform/callback.h"

namespace homeclick::platform {

enum class control_kind : std::int32_t { edit_box, timer, label };

struct placement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// 0xRRGGBB, or the system's button-face colour.
using rgb = std::uint32_t;
inline constexpr rgb system_button_face = 0xFF000000u;
inline constexpr rgb black = 0x000000u;
inline constexpr rgb white = 0xFFFFFFu;

// One control of a window, as data. Fields a kind does not use keep their defaults.
struct control_design {
    control_kind kind = control_kind::label;
    placement place;
    const wchar_t* text = L"";
    bool visible = true;
    bool tab_stop = false;
    rgb text_colour = black;
    rgb background = system_button_face;
    // Edit boxes: only what may form an integer can be typed, and the text is
    // normalised to a plain integer when the box loses the focus.
    bool integer_input = false;
    // Timers: milliseconds between ticks; 0 or less does not tick.
    std::int32_t period = 0;

    callback<> on_tick{};
    // Labels: raised by the hotkey feedback message, with its wParam and lParam.
    callback<std::int32_t, std::int32_t> on_feedback{};
};

enum class start_position : std::int32_t { design_place, centred_on_primary_screen };

struct window_design {
    const wchar_t* caption = L"";
    placement place; // the outer rectangle, frame and caption bar included
    start_position start = start_position::design_place;
    bool minimise_box = true;
    bool maximise_box = false;
    bool sizing_frame = false;
    bool escape_closes = false;
    std::int32_t icon_resource = 0; // 0: the system's default application icon
    std::span<const control_design> controls;

    callback<> on_created{};
    callback<> on_destroying{};
    // Asked before every close; an unbound query, or one that leaves the answer
    // true, lets the close pass.
    callback<bool&> on_close_query{};
};

} // namespace homeclick::platform
