// The built program, started as its own process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/win32_test_support.h"

namespace {

using namespace homeclick::testing_support;

std::wstring homeclick_exe;
std::wstring unloadable_exe;

struct process_handles {
    HANDLE process = nullptr;
    HANDLE thread = nullptr;
    DWORD id = 0;
    process_handles() = default;
    process_handles(const process_handles&) = delete;
    process_handles& operator=(const process_handles&) = delete;
    ~process_handles()
    {
        if (process) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process, 99);
            }
            CloseHandle(process);
            CloseHandle(thread);
        }
    }
};

void start(process_handles& started, const std::wstring& exe, const std::wstring& arguments = L"")
{
    std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(
        CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        << GetLastError();
    started.process = info.hProcess;
    started.thread = info.hThread;
    started.id = info.dwProcessId;
}

// A visible top-level window of the process with the given class.
// Generous: a 32-bit program under an emulated loader takes a minute to start.
HWND wait_for_window(DWORD process_id, const wchar_t* window_class, DWORD timeout_ms = 300000)
{
    HWND found = nullptr;
    pump_until([&] { return (found = find_window_of(process_id, window_class, true)) != nullptr; }, timeout_ms);
    return found;
}

DWORD exit_code_after(const process_handles& started, DWORD timeout_ms = 120000)
{
    if (WaitForSingleObject(started.process, timeout_ms) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = 0;
    GetExitCodeProcess(started.process, &code);
    return code;
}

std::vector<HWND> children_of(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

class Program : public ::testing::Test {
protected:
    process_handles program;
    HWND main = nullptr;

    void start_program(const std::wstring& arguments = L"")
    {
        start(program, homeclick_exe, arguments);
        main = wait_for_window(program.id, L"homeclick.main");
        ASSERT_NE(main, nullptr) << "no main window";
    }
};

TEST_F(Program, ShowsItsCentredWindowWithTheLabelAndTheBox)
{
    start_program();
    EXPECT_EQ(remote_text_of(main), L"home键 开始/关闭");
    const RECT outer = window_rect(main);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 380) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 250);
    const auto children = children_of(main);
    ASSERT_EQ(children.size(), 3u);
    const HWND box = children[0], timer = children[1], label = children[2];
    EXPECT_EQ(remote_text_of(box), L"10");
    EXPECT_EQ(remote_text_of(label), L"时钟周期（点击间隔）");
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_TRUE(IsWindowVisible(label));
    EXPECT_FALSE(IsWindowVisible(timer));
    const RECT box_place = rect_in_parent(box);
    EXPECT_EQ(box_place.left, 176);
    EXPECT_EQ(box_place.top, 48);
    EXPECT_EQ(box_place.right - box_place.left, 104);
    EXPECT_EQ(box_place.bottom - box_place.top, 32);
    const RECT label_place = rect_in_parent(label);
    EXPECT_EQ(label_place.left, 40);
    EXPECT_EQ(label_place.top, 24);
    EXPECT_EQ(label_place.right - label_place.left, 128);
    EXPECT_EQ(label_place.bottom - label_place.top, 88);
    const auto style = GetWindowLongPtrW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
}

TEST(ProgramFile, CarriesItsIconManifestAndVersion)
{
    HMODULE file =
        LoadLibraryExW(homeclick_exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(file, nullptr);
    EXPECT_NE(FindResourceW(file, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
    EXPECT_NE(FindResourceW(file, MAKEINTRESOURCEW(1), RT_VERSION), nullptr);
    HRSRC manifest = FindResourceW(file, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(file, manifest)));
    const std::string text(bytes, SizeofResource(file, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_EQ(text.find("dpiAware"), std::string::npos);
    FreeLibrary(file);
}

TEST_F(Program, StartsWithTheFocusInTheBoxBeforeTheOne)
{
    start_program();
    const HWND box = children_of(main).at(0);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(pump_until(
        [&] { return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus == box; }));
    EXPECT_EQ(info.hwndActive, main);
    DWORD_PTR selection = 0;
    SendMessageTimeoutW(box, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 0);
}

struct close_route {
    const char* name;
    UINT message;
    WPARAM wparam;
    bool to_box;
};

class ProgramClose : public Program, public ::testing::WithParamInterface<close_route> {};

TEST_P(ProgramClose, EndsWithExitCodeZero)
{
    start_program();
    const auto& route = GetParam();
    HWND target = route.to_box ? children_of(main).at(0) : main;
    PostMessageW(target, route.message, route.wparam, 0);
    EXPECT_EQ(exit_code_after(program), 0u);
}

INSTANTIATE_TEST_SUITE_P(Routes, ProgramClose,
                         ::testing::Values(close_route{"WM_CLOSE", WM_CLOSE, 0, false},
                                           close_route{"system_menu_close", WM_SYSCOMMAND, SC_CLOSE, false},
                                           close_route{"escape_in_the_box", WM_KEYDOWN, VK_ESCAPE, true},
                                           close_route{"escape_in_the_window", WM_KEYDOWN, VK_ESCAPE, false}),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST_F(Program, ArgumentsOnTheCommandLineChangeNothing)
{
    start_program(L"/x --interval=5 \"some file.txt\"");
    EXPECT_EQ(remote_text_of(children_of(main).at(0)), L"10");
    const RECT outer = window_rect(main);
    EXPECT_EQ(outer.right - outer.left, 380);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(exit_code_after(program), 0u);
}

TEST(StartupFailure, ShowsTheErrorBoxAndEndsWithMinusOne)
{
    process_handles failing;
    start(failing, unloadable_exe);
    const HWND box = wait_for_window(failing.id, L"#32770");
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(remote_text_of(box), L"错误");
    std::wstring message;
    for (HWND child : children_of(box)) {
        wchar_t name[32]{};
        GetClassNameW(child, name, 32);
        if (std::wstring{name} == L"Static") {
            message += remote_text_of(child);
        }
    }
    EXPECT_TRUE(message.starts_with(L"运行时出错!")) << std::string(message.begin(), message.end()).size();
    EXPECT_NE(message.find(L"载入启动窗口失败"), std::wstring::npos);
    // No main window was left behind.
    EXPECT_EQ(FindWindowW(L"homeclick.main", nullptr), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(exit_code_after(failing), static_cast<DWORD>(-1));
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--homeclick=")) {
            homeclick_exe = windows_path(argument.substr(12));
        } else if (argument.starts_with("--unloadable=")) {
            unloadable_exe = windows_path(argument.substr(13));
        }
    }
    if (homeclick_exe.empty() || unloadable_exe.empty()) {
        fprintf(stderr, "usage: program_tests --homeclick=EXE --unloadable=EXE\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
