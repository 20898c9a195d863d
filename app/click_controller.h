#pragma once

#include <cstdint>

#include "platform/services.h"

namespace homeclick::app {

inline constexpr std::int32_t virtual_key_home = 0x24;
inline constexpr std::int32_t no_modifiers = 0;
inline constexpr std::int32_t one_left_click = 0;

// Home switches clicking on and off; each tick of the timer clicks once where
// the cursor is. Between events it keeps only the hotkey's identifier and
// whether clicking is on.
class click_controller {
public:
    click_controller(platform::window_services& window, platform::input_services& input) noexcept
        : window_(window), input_(input)
    {
    }

    void on_created() noexcept;
    void on_feedback(std::int32_t hotkey, std::int32_t unused) noexcept;
    void on_tick() noexcept;
    void on_destroying() noexcept;

    [[nodiscard]] std::int32_t hotkey_identifier() const noexcept { return hotkey_identifier_; }
    [[nodiscard]] bool running() const noexcept { return running_ != 0; }

private:
    platform::window_services& window_;
    platform::input_services& input_;
    std::int32_t hotkey_identifier_ = 0;
    std::uint32_t running_ = 0;
};

} // namespace homeclick::app
