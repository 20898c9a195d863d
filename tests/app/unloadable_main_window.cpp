#include "app/main_window.h"

namespace homeclick::app {

// The program's own design but for a control the run time cannot build: the
// start-up failure path of the real entry routine, for the tests.
main_window::main_window() noexcept
{
    controls[编辑框1] = {.kind = platform::control_kind::edit_box, .place = {176, 48, 104, 32}, .text = L"10"};
    controls[时钟1] = {.kind = platform::control_kind::timer, .place = {96, 152, 40, 32}, .visible = false};
    controls[标签1] = {.kind = static_cast<platform::control_kind>(-1), .place = {40, 24, 128, 88}};
    window = {.caption = L"home键 开始/关闭",
              .place = {50, 50, 380, 250},
              .start = platform::start_position::centred_on_primary_screen,
              .controls = controls};
}

} // namespace homeclick::app
