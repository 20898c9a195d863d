#include "platform/desktop_input.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/messages.h"
#include "platform/win32_handles.h"
#include "tests/support/win32_test_support.h"

namespace homeclick::platform {
namespace {

using namespace testing_support;

// A plain window that remembers what reached it.
struct probe_window {
    std::vector<std::pair<WPARAM, LPARAM>> feedback;
    std::vector<UINT> buttons;
    int plain_hotkeys = 0;
    unique_hwnd window;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        auto* self = reinterpret_cast<probe_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) {
            switch (message) {
            case hotkey_feedback_message: self->feedback.emplace_back(wparam, lparam); return 0;
            case WM_HOTKEY: ++self->plain_hotkeys; return 0;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
            case WM_LBUTTONDBLCLK: self->buttons.push_back(message); return 0;
            case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
            default: break;
            }
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    explicit probe_window(int x = 100, int y = 100)
    {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = procedure;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"homeclick.test.probe";
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&window_class);
        window.reset(CreateWindowExW(WS_EX_TOPMOST, window_class.lpszClassName, L"probe", WS_POPUP | WS_VISIBLE, x, y,
                                     200, 150, nullptr, nullptr, window_class.hInstance, nullptr));
        SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        pump_for(50);
    }
    system_handle handle() const { return to_system_handle(window.get()); }
};

WNDPROC procedure_of(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

constexpr std::int32_t vk_home = 0x24;

class DesktopInput : public ::testing::Test {
protected:
    desktop_input input;
    void SetUp() override { drain_queue(); }
};

TEST_F(DesktopInput, HotkeyIdentifiersCountUpFromTheFirstEvenWhenRefused)
{
    probe_window target;
    const std::int32_t first = input.register_hotkey(target.handle(), target.handle(), 0, vk_home);
    ASSERT_GE(first, first_hotkey_identifier);
    // Home is taken now: the second registration is refused, yet uses up an identifier.
    EXPECT_EQ(input.register_hotkey(target.handle(), target.handle(), 0, vk_home), 0);
    const std::int32_t third = input.register_hotkey(target.handle(), target.handle(), 1, VK_F11);
    EXPECT_EQ(third, first + 2);
    EXPECT_TRUE(input.unregister_hotkey(target.handle(), first));
    EXPECT_FALSE(input.unregister_hotkey(target.handle(), 0));
    EXPECT_TRUE(input.unregister_hotkey(target.handle(), third));
}

TEST_F(DesktopInput, TheHotkeyProcedureIsPutInFrontOnceAndPutBackAfterTheLastRelease)
{
    probe_window target;
    const WNDPROC original = procedure_of(target.window.get());
    const std::int32_t a = input.register_hotkey(target.handle(), target.handle(), 0, VK_F9);
    const WNDPROC hooked = procedure_of(target.window.get());
    EXPECT_NE(hooked, original);
    const std::int32_t b = input.register_hotkey(target.handle(), target.handle(), 0, VK_F10);
    EXPECT_EQ(procedure_of(target.window.get()), hooked);
    input.unregister_hotkey(target.handle(), a);
    EXPECT_EQ(procedure_of(target.window.get()), hooked);
    input.unregister_hotkey(target.handle(), b);
    EXPECT_EQ(procedure_of(target.window.get()), original);
}

TEST_F(DesktopInput, AnIssuedHotkeyBecomesOneFeedbackMessageToTheReceiver)
{
    probe_window window;
    probe_window receiver{400, 100};
    const std::int32_t id = input.register_hotkey(window.handle(), receiver.handle(), 0, VK_F8);
    ASSERT_GE(id, first_hotkey_identifier);
    SendMessageW(window.window.get(), WM_HOTKEY, static_cast<WPARAM>(id), 0);
    EXPECT_EQ(receiver.feedback, (std::vector<std::pair<WPARAM, LPARAM>>{{static_cast<WPARAM>(id), 0}}));
    // The window's own procedure still sees every message, WM_HOTKEY included.
    EXPECT_EQ(window.plain_hotkeys, 1);
    input.unregister_hotkey(window.handle(), id);
}

TEST_F(DesktopInput, AForeignHotkeyIdentifierIsPassedOnWithoutFeedback)
{
    probe_window window;
    const std::int32_t id = input.register_hotkey(window.handle(), window.handle(), 0, VK_F7);
    ASSERT_GE(id, first_hotkey_identifier);
    for (const WPARAM foreign : {WPARAM{0}, WPARAM{1}, static_cast<WPARAM>(first_hotkey_identifier - 1),
                                 static_cast<WPARAM>(id + 1), static_cast<WPARAM>(0xBFFF)}) {
        SendMessageW(window.window.get(), WM_HOTKEY, foreign, 0);
    }
    EXPECT_TRUE(window.feedback.empty());
    EXPECT_EQ(window.plain_hotkeys, 5);
    input.unregister_hotkey(window.handle(), id);
}

TEST_F(DesktopInput, CursorXAndYReadTheCursorPosition)
{
    ASSERT_TRUE(SetCursorPos(123, 456));
    pump_for(20);
    EXPECT_EQ(input.cursor_x(), 123);
    EXPECT_EQ(input.cursor_y(), 456);
}

TEST_F(DesktopInput, SimulatedClicksArriveAtTheWindowUnderTheGivenPoint)
{
    probe_window target{300, 300};
    struct kind_case {
        std::int32_t kind;
        std::vector<UINT> buttons;
    };
    const std::vector<kind_case> cases{
        {0, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {2, {WM_RBUTTONDOWN, WM_RBUTTONUP}},
        {3, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}},
        {7, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
    };
    for (const auto& [kind, buttons] : cases) {
        target.buttons.clear();
        input.simulate_click(350, 340, kind);
        EXPECT_TRUE(pump_until([&] { return target.buttons.size() >= buttons.size(); }, 3000)) << kind;
        pump_for(50);
        EXPECT_EQ(target.buttons, buttons) << kind;
        POINT at{};
        GetCursorPos(&at);
        EXPECT_EQ(at.x, 350);
        EXPECT_EQ(at.y, 340);
        pump_for(600); // keep the next pair from reading as a double click
    }
}

} // namespace
} // namespace homeclick::platform
