#pragma once

#include "platform/design.h"
#include "platform/services.h"

namespace homeclick::platform {

// Builds a window and its controls from a design, raises the design's events
// and runs the message loop. One window at a time.
class window_runtime final : public window_services {
public:
    window_runtime() noexcept;
    window_runtime(const window_runtime&) = delete;
    window_runtime& operator=(const window_runtime&) = delete;
    ~window_runtime();

    // The design, and every handler bound in it, must outlive the window.
    void take_design(const window_design& design) noexcept;

    // Creates the window hidden, then its controls, shows the visible controls,
    // raises the created event and only then shows the window. False when the
    // window or a control could not be created; nothing is left behind then.
    [[nodiscard]] bool load() noexcept;

    // As load(); a failure is reported in an error box and ends the process
    // with exit code -1.
    void load_start_window() noexcept;

    // Until WM_QUIT; returns its exit code.
    int message_loop() noexcept;

    [[nodiscard]] bool window_exists() const noexcept;

    system_handle main_window_handle() const noexcept override;
    system_handle control_handle(control_index control) const noexcept override;
    owned_text read_content(control_index edit_box) const noexcept override;
    void write_period(control_index timer, std::int32_t milliseconds) noexcept override;

    // The period a timer control holds, as the period rule left it.
    [[nodiscard]] std::int32_t period(control_index timer) const noexcept;

    struct procedures;

private:
    const window_design* design_ = nullptr;
    system_handle main_{};
    bool events_enabled_ = false;
    bool quit_on_destroy_ = false;
};

} // namespace homeclick::platform
