#include "app/click_controller.h"

#include "app/main_window.h"
#include "platform/rules/text_to_integer.h"

namespace homeclick::app {

void click_controller::on_created() noexcept
{
    // A refusal (another program holds Home) is kept as 0 and shown nowhere:
    // the window stays usable, it just never clicks.
    const platform::system_handle window = window_.main_window_handle();
    const platform::system_handle receiver = window_.control_handle(标签1);
    hotkey_identifier_ = input_.register_hotkey(window, receiver, no_modifiers, virtual_key_home);
}

void click_controller::on_feedback(std::int32_t, std::int32_t) noexcept
{
    running_ = (running_ & 1u) ^ 1u;
    if (running_ == 0) {
        window_.write_period(时钟1, 0);
        return;
    }
    // The box is read only here, so editing it while clicking changes nothing
    // until the next switch-on.
    std::int32_t interval = 0;
    {
        const platform::owned_text text = window_.read_content(编辑框1);
        interval = rules::text_to_integer(text.view());
    }
    window_.write_period(时钟1, interval);
}

void click_controller::on_tick() noexcept
{
    // Two separate queries: a mouse moving in between gives the x of the first
    // and the y of the second, and the click goes there.
    const std::int32_t x = input_.cursor_x();
    const std::int32_t y = input_.cursor_y();
    input_.simulate_click(x, y, one_left_click);
}

void click_controller::on_destroying() noexcept
{
    // Identifier 0 after a refused registration is released all the same; the
    // system refuses that quietly.
    input_.unregister_hotkey(window_.main_window_handle(), hotkey_identifier_);
}

} // namespace homeclick::app
