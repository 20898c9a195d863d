// The end-to-end tests' view of the desktop: a window that timestamps every
// left button event that reaches it, and answers commands read from standard
// input, one a line, with one line on standard output each.
//
//   list                     "list PID..." of every homeclick window's process
//   register_home            can Home be registered now? "register_home ok|refused"
//   close PID                WM_CLOSE to PID's homeclick window, as another program would
//   minimise PID / restore PID
//   cover PID                a window of ours over PID's homeclick window
//   uncover
//   box_text PID             the interval box's text, UTF-8
//   box_selection PID        "box_selection START END"
//   set_box PID TEXT         sets the interval box's text (for the benchmark)
//   box_client PID           "box_client X Y W H": the box's text area on the screen
//   clipboard TEXT           puts TEXT on the clipboard, for a real Ctrl+V
//   resources PID            "resources HANDLES GDI USER PRIVATE_BYTES" of the process
//   post_hotkey PID ID       posts WM_HOTKEY with that identifier to PID's window
//   where                    "where X Y W H" of the counting window
//   now                      "now SECONDS", the clock the button events are stamped with
//   quit
//
// Button events come as "down SECONDS" and "up SECONDS" on the performance
// counter's clock, which the tests relate to their own with "now".
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/win32_test_support.h"

namespace {

constexpr UINT command_message = WM_APP + 1;
constexpr wchar_t homeclick_class[] = L"homeclick.main";
constexpr int counter_x = 20, counter_y = 20, counter_width = 260, counter_height = 200;

HWND counter = nullptr;
HWND cover_window = nullptr;
LARGE_INTEGER frequency;

void say(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

double now_seconds()
{
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string utf8(const std::wstring& text)
{
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

HWND homeclick_of(DWORD process_id)
{
    return homeclick::testing_support::find_window_of(process_id, homeclick_class, false);
}

HWND box_of(DWORD process_id)
{
    HWND main = homeclick_of(process_id);
    return main ? GetWindow(main, GW_CHILD) : nullptr;
}

void run(const std::string& line)
{
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    DWORD pid = 0;
    if (verb == "list") {
        std::string pids;
        for (HWND window : homeclick::testing_support::windows_of_class(homeclick_class, false)) {
            pids += " " + std::to_string(homeclick::testing_support::process_of(window));
        }
        say("list" + pids);
    } else if (verb == "register_home") {
        const bool ok = RegisterHotKey(counter, 1, 0, VK_HOME) != FALSE;
        if (ok) {
            UnregisterHotKey(counter, 1);
        }
        say(std::string{"register_home "} + (ok ? "ok" : "refused"));
    } else if (verb == "close" && in >> pid) {
        HWND main = homeclick_of(pid);
        say(main && PostMessageW(main, WM_CLOSE, 0, 0) ? "close ok" : "close none");
    } else if ((verb == "minimise" || verb == "restore") && in >> pid) {
        HWND main = homeclick_of(pid);
        if (main) {
            ShowWindow(main, verb == "minimise" ? SW_MINIMIZE : SW_RESTORE);
        }
        say(verb + (main && (IsIconic(main) != 0) == (verb == "minimise") ? " ok" : " failed"));
    } else if (verb == "cover" && in >> pid) {
        HWND main = homeclick_of(pid);
        RECT rect{};
        GetWindowRect(main, &rect);
        cover_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE,
                                       rect.left - 10, rect.top - 10, rect.right - rect.left + 20,
                                       rect.bottom - rect.top + 20, nullptr, nullptr, nullptr, nullptr);
        say(cover_window ? "cover ok" : "cover failed");
    } else if (verb == "uncover") {
        DestroyWindow(cover_window);
        cover_window = nullptr;
        say("uncover ok");
    } else if (verb == "box_text" && in >> pid) {
        HWND box = box_of(pid);
        DWORD_PTR length = 0;
        SendMessageTimeoutW(box, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                            &copied);
        text.resize(copied);
        say("box_text " + utf8(text));
    } else if (verb == "box_selection" && in >> pid) {
        DWORD_PTR selection = 0;
        SendMessageTimeoutW(box_of(pid), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection);
        say("box_selection " + std::to_string(LOWORD(selection)) + " " + std::to_string(HIWORD(selection)));
    } else if (verb == "set_box" && in >> pid) {
        std::string text;
        std::getline(in >> std::ws, text);
        DWORD_PTR done = 0;
        SendMessageTimeoutW(box_of(pid), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()), SMTO_ABORTIFHUNG,
                            5000, &done);
        say(done ? "set_box ok" : "set_box failed");
    } else if (verb == "box_client" && in >> pid) {
        HWND box = box_of(pid);
        RECT client{};
        GetClientRect(box, &client);
        MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
        say("box_client " + std::to_string(client.left) + " " + std::to_string(client.top) + " " +
            std::to_string(client.right - client.left) + " " + std::to_string(client.bottom - client.top));
    } else if (verb == "clipboard") {
        std::string text;
        std::getline(in >> std::ws, text);
        const std::wstring content = wide(text);
        bool ok = false;
        if (OpenClipboard(counter)) {
            EmptyClipboard();
            const std::size_t bytes = (content.size() + 1) * sizeof(wchar_t);
            if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
                CopyMemory(GlobalLock(memory), content.c_str(), bytes);
                GlobalUnlock(memory);
                ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            }
            CloseClipboard();
        }
        say(ok ? "clipboard ok" : "clipboard failed");
    } else if (verb == "where") {
        RECT rect{};
        GetWindowRect(counter, &rect);
        say("where " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
            std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
    } else if (verb == "resources" && in >> pid) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        DWORD handles = 0;
        GetProcessHandleCount(process, &handles);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
        say("resources " + std::to_string(handles) + " " + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)) +
            " " + std::to_string(GetGuiResources(process, GR_USEROBJECTS)) + " " + std::to_string(memory.PrivateUsage));
        CloseHandle(process);
    } else if (verb == "post_hotkey" && in >> pid) {
        WPARAM identifier = 0;
        in >> identifier;
        HWND main = homeclick_of(pid);
        say(main && PostMessageW(main, WM_HOTKEY, identifier, 0) ? "post_hotkey ok" : "post_hotkey none");
    } else if (verb == "now") {
        say("now " + std::to_string(now_seconds()));
    } else if (verb == "quit") {
        DestroyWindow(counter);
    } else {
        say("unknown " + line);
    }
}

LRESULT CALLBACK counter_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: say("down " + std::to_string(now_seconds())); return 0;
    case WM_LBUTTONUP: say("up " + std::to_string(now_seconds())); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE; // the clicks must not take the focus
    case command_message: {
        auto* line = reinterpret_cast<std::string*>(lparam);
        run(*line);
        delete line;
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

int main()
{
    QueryPerformanceFrequency(&frequency);
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = counter_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszClassName = L"homeclick.test.counter";
    RegisterClassW(&window_class);
    counter = CreateWindowExW(WS_EX_NOACTIVATE, window_class.lpszClassName, L"click counter", WS_POPUP | WS_VISIBLE,
                              counter_x, counter_y, counter_width, counter_height, nullptr, nullptr,
                              window_class.hInstance, nullptr);
    if (!counter) {
        return 1;
    }
    std::thread([] {
        std::string line;
        while (std::getline(std::cin, line)) {
            PostMessageW(counter, command_message, 0, reinterpret_cast<LPARAM>(new std::string(line)));
        }
        PostMessageW(counter, command_message, 0, reinterpret_cast<LPARAM>(new std::string("quit")));
    }).detach();
    say("ready");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
