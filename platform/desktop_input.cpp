#include "platform/desktop_input.h"

#include <windows.h>

#include "platform/messages.h"
#include "platform/rules/click_kind.h"
#include "platform/rules/hotkey_modifiers.h"
#include "platform/win32_handles.h"

namespace homeclick::platform {
namespace {

static_assert(rules::mouse_left_down == MOUSEEVENTF_LEFTDOWN && rules::mouse_left_up == MOUSEEVENTF_LEFTUP &&
              rules::mouse_right_down == MOUSEEVENTF_RIGHTDOWN && rules::mouse_right_up == MOUSEEVENTF_RIGHTUP);
static_assert(rules::mod_alt == MOD_ALT && rules::mod_control == MOD_CONTROL && rules::mod_shift == MOD_SHIFT);

struct hotkey_bookkeeping {
    std::int32_t active_registrations = 0;
    std::uint32_t identifiers_issued = 0;
    std::int32_t last_identifier = 0;
    HWND receiver = nullptr;
    HWND hooked_window = nullptr;
    WNDPROC saved_procedure = nullptr;
};

hotkey_bookkeeping hotkeys;

// The last position read, for when the system will not say where the cursor
// is (a secure desktop, say): clicking where it was beats clicking at (0, 0).
POINT last_cursor{};

LRESULT CALLBACK hotkey_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_HOTKEY && hotkeys.identifiers_issued != 0 &&
        wparam >= static_cast<WPARAM>(first_hotkey_identifier) &&
        wparam <= static_cast<WPARAM>(hotkeys.last_identifier)) {
        SendMessageW(hotkeys.receiver, hotkey_feedback_message, wparam, 0);
    }
    // The feedback above may have released the last hotkey and put the old
    // procedure back already.
    const WNDPROC next = hotkeys.saved_procedure ? hotkeys.saved_procedure
                                                 : reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (!next || next == hotkey_procedure) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return CallWindowProcW(next, window, message, wparam, lparam);
}

[[nodiscard]] POINT cursor_position() noexcept
{
    POINT point{};
    if (GetCursorPos(&point)) {
        last_cursor = point;
    }
    return last_cursor;
}

} // namespace

std::int32_t desktop_input::register_hotkey(system_handle window, system_handle receiver, std::int32_t modifiers,
                                            std::int32_t virtual_key) noexcept
{
    HWND hwnd = to_hwnd(window);
    hotkeys.receiver = to_hwnd(receiver);
    if (!hotkeys.saved_procedure && hwnd) {
        hotkeys.saved_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hotkey_procedure)));
        hotkeys.hooked_window = hotkeys.saved_procedure ? hwnd : nullptr;
    }
    ++hotkeys.active_registrations;
    const std::int32_t identifier = first_hotkey_identifier + static_cast<std::int32_t>(hotkeys.identifiers_issued++);
    hotkeys.last_identifier = identifier;
    const bool registered = RegisterHotKey(hwnd, identifier, static_cast<UINT>(rules::hotkey_modifier_flags(modifiers)),
                                           static_cast<UINT>(virtual_key)) != FALSE;
    return registered ? identifier : 0;
}

bool desktop_input::unregister_hotkey(system_handle window, std::int32_t identifier) noexcept
{
    const bool released = UnregisterHotKey(to_hwnd(window), identifier) != FALSE;
    if (hotkeys.active_registrations > 0) {
        --hotkeys.active_registrations;
    }
    if (hotkeys.active_registrations == 0 && hotkeys.saved_procedure) {
        // Only undo our own replacement; a procedure put in front of it since
        // then would otherwise be cut out.
        HWND hooked = hotkeys.hooked_window;
        if (IsWindow(hooked) &&
            reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hooked, GWLP_WNDPROC)) == hotkey_procedure) {
            SetWindowLongPtrW(hooked, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hotkeys.saved_procedure));
        }
        hotkeys.saved_procedure = nullptr;
        hotkeys.hooked_window = nullptr;
    }
    return released;
}

std::int32_t desktop_input::cursor_x() noexcept
{
    return cursor_position().x;
}

std::int32_t desktop_input::cursor_y() noexcept
{
    return cursor_position().y;
}

void desktop_input::simulate_click(std::int32_t x, std::int32_t y, std::int32_t kind) noexcept
{
    SetCursorPos(x, y);
    const rules::click_plan plan = rules::click_plan_for(kind);
    for (std::int32_t i = 0; i < plan.repeats; ++i) {
        // Without MOUSEEVENTF_MOVE the coordinates are ignored: the click lands
        // where SetCursorPos just put the cursor.
        mouse_event(plan.flags, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
    }
}

} // namespace homeclick::platform
