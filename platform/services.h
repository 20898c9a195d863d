#pragma once

#include <cstdint>

#include "platform/owned_text.h"

namespace homeclick::platform {

// A window handle as the program sees it: opaque, valid while its window lives.
enum class system_handle : std::uintptr_t {};

// Controls are addressed by their position in the window's design.
using control_index = std::int32_t;

// What the window run time offers the program's handlers.
class window_services {
public:
    [[nodiscard]] virtual system_handle main_window_handle() const noexcept = 0;
    [[nodiscard]] virtual system_handle control_handle(control_index control) const noexcept = 0;
    // The box's current text as GBK bytes; no text when the box is empty.
    [[nodiscard]] virtual owned_text read_content(control_index edit_box) const noexcept = 0;
    virtual void write_period(control_index timer, std::int32_t milliseconds) noexcept = 0;

protected:
    ~window_services() = default;
};

// System-wide hotkey, cursor and synthetic mouse input.
class input_services {
public:
    // An identifier of 33001 or more when the hotkey was registered, 0 when refused.
    [[nodiscard]] virtual std::int32_t register_hotkey(system_handle window, system_handle receiver,
                                                       std::int32_t modifiers, std::int32_t virtual_key) noexcept = 0;
    virtual bool unregister_hotkey(system_handle window, std::int32_t identifier) noexcept = 0;
    [[nodiscard]] virtual std::int32_t cursor_x() noexcept = 0;
    [[nodiscard]] virtual std::int32_t cursor_y() noexcept = 0;
    // kind 0: one left click; 1: double left; 2: one right; 3: double right.
    virtual void simulate_click(std::int32_t x, std::int32_t y, std::int32_t kind) noexcept = 0;

protected:
    ~input_services() = default;
};

} // namespace homeclick::platform
