#include "app/main_window.h"

#include "app/resource.h"

namespace homeclick::app {

using platform::control_design;
using platform::control_kind;

main_window::main_window() noexcept
{
    controls[编辑框1] = control_design{
        .kind = control_kind::edit_box,
        .place = {176, 48, 104, 32},
        .text = L"10",
        .visible = true,
        .tab_stop = true,
        .text_colour = platform::black,
        .background = platform::white,
        .integer_input = true,
    };
    controls[时钟1] = control_design{
        .kind = control_kind::timer,
        .place = {96, 152, 40, 32},
        .visible = false,
        .period = 0,
    };
    controls[标签1] = control_design{
        .kind = control_kind::label,
        .place = {40, 24, 128, 88},
        .text = L"时钟周期（点击间隔）",
        .visible = true,
        .text_colour = platform::black,
        .background = platform::system_button_face,
    };
    window = platform::window_design{
        .caption = L"home键 开始/关闭",
        .place = {50, 50, 380, 250},
        .start = platform::start_position::centred_on_primary_screen,
        .minimise_box = true,
        .maximise_box = false,
        .sizing_frame = false,
        .escape_closes = true,
        .icon_resource = HOMECLICK_ICON,
        .controls = controls,
    };
}

} // namespace homeclick::app
