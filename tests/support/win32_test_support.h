#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace homeclick::testing_support {

// Runs the thread's message loop until done() holds or the time is up.
inline bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000)
{
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now < 10 ? deadline - now : 10),
                                  QS_ALLINPUT);
    }
}

inline void pump_for(DWORD milliseconds)
{
    pump_until([] { return false; }, milliseconds);
}

// Drops WM_QUIT and anything else left for this thread by an earlier test.
inline void drain_queue()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

inline std::wstring text_of(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Another process's window text: GetWindowText does not reach its controls.
inline std::wstring remote_text_of(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    text.resize(copied);
    return text;
}

// A path as this program's argument gave it, in a form CreateProcess takes:
// Wine maps the Unix root to drive Z:.
inline std::wstring windows_path(std::string path)
{
    std::wstring result = path.starts_with('/') ? L"Z:" : L"";
    for (const char c : path) {
        result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return result;
}

// The top-level windows of that class, of every process, in Z order.
inline std::vector<HWND> windows_of_class(std::wstring_view window_class, bool visible_only)
{
    struct search {
        std::wstring_view window_class;
        bool visible_only;
        std::vector<HWND> found;
    } state{window_class, visible_only, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<search*>(context);
            wchar_t name[257]{}; // class names are at most 256 characters
            GetClassNameW(window, name, 257);
            if ((!s->visible_only || IsWindowVisible(window)) && s->window_class == name) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.found;
}

inline DWORD process_of(HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner;
}

// A top-level window of the process with that class, if it has one.
inline HWND find_window_of(DWORD process_id, std::wstring_view window_class, bool visible_only)
{
    for (HWND window : windows_of_class(window_class, visible_only)) {
        if (process_of(window) == process_id) {
            return window;
        }
    }
    return nullptr;
}

inline RECT window_rect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A control's place and size relative to its parent's client area.
inline RECT rect_in_parent(HWND control)
{
    RECT rect = window_rect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace homeclick::testing_support
