#include "app/click_controller.h"
#include "app/main_window.h"
#include "platform/desktop_input.h"
#include "platform/program_entry.h"
#include "platform/window_runtime.h"

namespace homeclick {
namespace {

// The window's four events, and no others, go to the controller.
void bind_events(app::main_window& design, app::click_controller& controller) noexcept
{
    using app::click_controller;
    using app::时钟1;
    using app::标签1;
    using platform::callback;
    design.window.on_created = callback<>::bind<&click_controller::on_created>(controller);
    design.window.on_destroying = callback<>::bind<&click_controller::on_destroying>(controller);
    design.controls[时钟1].on_tick = callback<>::bind<&click_controller::on_tick>(controller);
    design.controls[标签1].on_feedback =
        callback<std::int32_t, std::int32_t>::bind<&click_controller::on_feedback>(controller);
}

} // namespace

int program_entry() noexcept
{
    platform::window_runtime runtime;
    platform::desktop_input input;
    app::main_window design;
    app::click_controller controller{runtime, input};
    bind_events(design, controller);
    runtime.take_design(design.window);
    runtime.load_start_window();
    runtime.message_loop();
    return 0;
}

} // namespace homeclick
