#pragma once

#include "platform/services.h"

namespace homeclick::platform {

// Hotkey, cursor and click on the user32 interface. The hotkey bookkeeping is
// process-wide, as the hotkeys themselves are: every instance shares it.
class desktop_input final : public input_services {
public:
    std::int32_t register_hotkey(system_handle window, system_handle receiver, std::int32_t modifiers,
                                 std::int32_t virtual_key) noexcept override;
    bool unregister_hotkey(system_handle window, std::int32_t identifier) noexcept override;
    std::int32_t cursor_x() noexcept override;
    std::int32_t cursor_y() noexcept override;
    void simulate_click(std::int32_t x, std::int32_t y, std::int32_t kind) noexcept override;
};

} // namespace homeclick::platform
