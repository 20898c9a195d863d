#pragma once

#include <array>

#include "platform/design.h"
#include "platform/services.h"

namespace homeclick::app {

// The controls, in their stacking and focus order.
enum control : platform::control_index {
    编辑框1 = 0,
    时钟1 = 1,
    标签1 = 2,
};

// The design of the program's one window. Its window design refers to its own
// controls, so it stays where it was made.
struct main_window {
    main_window() noexcept;
    main_window(const main_window&) = delete;
    main_window& operator=(const main_window&) = delete;

    std::array<platform::control_design, 3> controls;
    platform::window_design window;
};

} // namespace homeclick::app
