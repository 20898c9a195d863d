#include "platform/window_runtime.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/timer_resolution.h"
#include "platform/win32_handles.h"
#include "tests/support/win32_test_support.h"

namespace homeclick::platform {
namespace {

using namespace testing_support;

constexpr control_index edit = 0;
constexpr control_index timer = 1;
constexpr control_index label = 2;

// What the handlers saw, in order.
struct recorder {
    window_runtime* runtime = nullptr;
    std::vector<std::string> events;
    int ticks = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> feedback;
    bool refuse_close = false;

    // Snapshot of the window as the created event finds it.
    bool window_visible_at_created = true;
    bool all_controls_exist_at_created = false;
    bool controls_exist_at_destroying = false;

    void created()
    {
        events.push_back("created");
        HWND main = to_hwnd(runtime->main_window_handle());
        window_visible_at_created = IsWindowVisible(main) != FALSE;
        all_controls_exist_at_created = true;
        for (control_index i : {edit, timer, label}) {
            all_controls_exist_at_created &= IsWindow(to_hwnd(runtime->control_handle(i))) != FALSE;
        }
    }
    void destroying()
    {
        events.push_back("destroying");
        controls_exist_at_destroying = IsWindow(to_hwnd(runtime->control_handle(edit))) &&
                                       IsWindow(to_hwnd(runtime->control_handle(timer))) &&
                                       IsWindow(to_hwnd(runtime->control_handle(label)));
    }
    void tick() { ++ticks; }
    void fed_back(std::int32_t w, std::int32_t l) { feedback.emplace_back(w, l); }
    void close_query(bool& answer)
    {
        events.push_back("close query");
        answer = !refuse_close;
    }
};

// Counts the resolution requests that running timers make.
struct resolution_counter {
    static inline int begins = 0;
    static inline int ends = 0;
    static unsigned begin(unsigned) { return ++begins, 0; }
    static unsigned end(unsigned) { return ++ends, 0; }
};

class WindowRuntime : public ::testing::Test {
protected:
    recorder record;
    std::array<control_design, 3> controls{};
    window_design design{};
    timer_resolution::period_calls saved_calls{};
    window_runtime runtime;

    void SetUp() override
    {
        drain_queue();
        resolution_counter::begins = resolution_counter::ends = 0;
        saved_calls = timer_resolution::replace_calls({resolution_counter::begin, resolution_counter::end});
        record.runtime = &runtime;
        controls[edit] = {.kind = control_kind::edit_box,
                          .place = {176, 48, 104, 32},
                          .text = L"10",
                          .tab_stop = true,
                          .text_colour = black,
                          .background = white,
                          .integer_input = true};
        controls[timer] = {.kind = control_kind::timer, .place = {96, 152, 40, 32}, .visible = false};
        controls[label] = {.kind = control_kind::label, .place = {40, 24, 128, 88}, .text = L"时钟周期（点击间隔）"};
        controls[timer].on_tick = callback<>::bind<&recorder::tick>(record);
        controls[label].on_feedback = callback<std::int32_t, std::int32_t>::bind<&recorder::fed_back>(record);
        design = {.caption = L"home键 开始/关闭",
                  .place = {50, 50, 380, 250},
                  .start = start_position::centred_on_primary_screen,
                  .escape_closes = true,
                  .controls = controls};
        design.on_created = callback<>::bind<&recorder::created>(record);
        design.on_destroying = callback<>::bind<&recorder::destroying>(record);
        design.on_close_query = callback<bool&>::bind<&recorder::close_query>(record);
        runtime.take_design(design);
    }

    void TearDown() override
    {
        if (runtime.window_exists()) {
            DestroyWindow(main());
        }
        drain_queue();
        timer_resolution::replace_calls(saved_calls);
    }

    void load()
    {
        ASSERT_TRUE(runtime.load());
        pump_for(50);
    }
    HWND main() const { return to_hwnd(runtime.main_window_handle()); }
    HWND control(control_index i) const { return to_hwnd(runtime.control_handle(i)); }

    // Closes as the user would and runs the loop to its end.
    int close_and_run_loop(UINT message = WM_CLOSE, WPARAM wparam = 0)
    {
        PostMessageW(main(), message, wparam, 0);
        return runtime.message_loop();
    }
};

TEST_F(WindowRuntime, LoadRaisesCreatedWhileHiddenWithEveryControlInPlace)
{
    load();
    EXPECT_EQ(record.events, std::vector<std::string>{"created"});
    EXPECT_FALSE(record.window_visible_at_created);
    EXPECT_TRUE(record.all_controls_exist_at_created);
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_TRUE(IsWindowVisible(control(edit)));
    EXPECT_TRUE(IsWindowVisible(control(label)));
    EXPECT_FALSE(IsWindowVisible(control(timer)));
}

TEST_F(WindowRuntime, WindowIsCentredAtItsOuterSizeWithAFixedFrame)
{
    load();
    const RECT outer = window_rect(main());
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(outer.left, (cx - 380) / 2);
    EXPECT_EQ(outer.top, (cy - 250) / 2);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 250);
    const auto style = GetWindowLongPtrW(main(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(GetWindow(main(), GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(text_of(main()), L"home键 开始/关闭");
}

TEST_F(WindowRuntime, TheWindowShowsItsOwnIconInBothSizes)
{
    // Checked in-process: Wine answers WM_GETICON from another process with 0.
    design.icon_resource = 1; // the program's icon, linked into this test too
    load();
    const auto icon_width = [&](WPARAM which) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(main(), WM_GETICON, which, 0));
        ICONINFO info{};
        if (!icon || !GetIconInfo(icon, &info)) {
            return 0L;
        }
        BITMAP bitmap{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return bitmap.bmWidth;
    };
    EXPECT_EQ(icon_width(ICON_BIG), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(icon_width(ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
}

TEST_F(WindowRuntime, ControlsStandAtTheirPlacesInDesignOrder)
{
    load();
    struct expected_place {
        control_index control;
        RECT rect;
    };
    for (const auto& [index, rect] :
         {expected_place{edit, {176, 48, 280, 80}}, expected_place{timer, {96, 152, 136, 184}},
          expected_place{label, {40, 24, 168, 112}}}) {
        const RECT actual = rect_in_parent(control(index));
        EXPECT_EQ(actual.left, rect.left) << index;
        EXPECT_EQ(actual.top, rect.top) << index;
        EXPECT_EQ(actual.right, rect.right) << index;
        EXPECT_EQ(actual.bottom, rect.bottom) << index;
    }
    EXPECT_EQ(GetWindow(main(), GW_CHILD), control(edit));
    EXPECT_EQ(GetWindow(control(edit), GW_HWNDNEXT), control(timer));
    EXPECT_EQ(GetWindow(control(timer), GW_HWNDNEXT), control(label));
    EXPECT_NE(GetWindowLongPtrW(control(edit), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrW(control(label), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_NE(GetWindowLongPtrW(control(edit), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(text_of(control(edit)), L"10");
    EXPECT_EQ(text_of(control(label)), L"时钟周期（点击间隔）");
}

TEST_F(WindowRuntime, FocusGoesToTheEditBoxWithTheCaretBeforeTheFirstCharacter)
{
    load();
    EXPECT_EQ(GetFocus(), control(edit));
    DWORD start = 99, end = 99;
    SendMessageW(control(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    // The main window passes the focus on whenever it gets it.
    SetFocus(main());
    EXPECT_EQ(GetFocus(), control(edit));
}

TEST_F(WindowRuntime, TabAndShiftTabLeaveTheFocusInTheOnlyTabStop)
{
    load();
    for (const bool shift : {false, true}) {
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(control(edit), WM_KEYDOWN, VK_TAB, 0);
        EXPECT_EQ(GetFocus(), control(edit)) << shift;
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    EXPECT_EQ(text_of(control(edit)), L"10");
}

TEST_F(WindowRuntime, CloseDestroysWithControlsAliveThenQuitsWithZero)
{
    load();
    EXPECT_EQ(close_and_run_loop(), 0);
    EXPECT_EQ(record.events, (std::vector<std::string>{"created", "close query", "destroying"}));
    EXPECT_TRUE(record.controls_exist_at_destroying);
    EXPECT_FALSE(runtime.window_exists());
}

TEST_F(WindowRuntime, CloseFromTheSystemMenuTakesTheSamePath)
{
    load();
    EXPECT_EQ(close_and_run_loop(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_EQ(record.events, (std::vector<std::string>{"created", "close query", "destroying"}));
}

TEST_F(WindowRuntime, ACloseQueryAnsweredNoKeepsTheWindow)
{
    record.refuse_close = true;
    load();
    SendMessageW(main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(runtime.window_exists());
    EXPECT_EQ(SendMessageW(main(), WM_QUERYENDSESSION, 0, 0), FALSE);
}

TEST_F(WindowRuntime, EndOfSessionIsGrantedAndLeavesTheWindowAlone)
{
    load();
    EXPECT_NE(SendMessageW(main(), WM_QUERYENDSESSION, 0, 0), FALSE);
    SendMessageW(main(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(runtime.window_exists());
    EXPECT_EQ(record.events, (std::vector<std::string>{"created", "close query"}));
}

TEST_F(WindowRuntime, EscapeClosesButNotWithShiftCtrlOrAlt)
{
    load();
    for (const BYTE modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[modifier] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(control(edit), WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(main(), WM_KEYDOWN, VK_ESCAPE, 0);
        keys[modifier] = 0;
        SetKeyboardState(keys);
        EXPECT_TRUE(runtime.window_exists()) << static_cast<int>(modifier);
    }
    SendMessageW(control(edit), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(runtime.window_exists());
    EXPECT_EQ(runtime.message_loop(), 0);
}

TEST_F(WindowRuntime, TypingKeepsOnlyDigitsAndMinusSigns)
{
    load();
    HWND box = control(edit);
    SetWindowTextW(box, L"");
    for (const wchar_t c : std::wstring{L"a1+2.3 -x4\x3000\xFF15-"}) {
        SendMessageW(box, WM_CHAR, c, 0);
    }
    EXPECT_EQ(text_of(box), L"123-4-");
    // Control characters pass: Backspace still deletes.
    SendMessageW(box, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(text_of(box), L"123-4");
}

struct normalisation_case {
    const wchar_t* before;
    const wchar_t* after;
};

class IntegerBoxLeavingFocus : public WindowRuntime, public ::testing::WithParamInterface<normalisation_case> {};

TEST_P(IntegerBoxLeavingFocus, NormalisesTheText)
{
    load();
    HWND box = control(edit);
    SetWindowTextW(box, GetParam().before);
    SetFocus(box);
    SetFocus(nullptr);
    EXPECT_EQ(text_of(box), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerBoxLeavingFocus,
                         ::testing::Values(normalisation_case{L"007", L"7"}, normalisation_case{L"0", L""},
                                           normalisation_case{L"-0", L""}, normalisation_case{L"-", L""},
                                           normalisation_case{L"12-3", L"12"}, normalisation_case{L"--5", L""},
                                           normalisation_case{L"99999999999", L"2147483647"},
                                           normalisation_case{L"-99999999999", L"-2147483648"},
                                           normalisation_case{L"", L""}, normalisation_case{L"10", L"10"}));

TEST_F(WindowRuntime, NormalisingPutsTheCaretWhereTheSelectionStartedOrAtTheEnd)
{
    load();
    HWND box = control(edit);
    SetWindowTextW(box, L"0042");
    SendMessageW(box, EM_SETSEL, 1, 3);
    SetFocus(nullptr);
    EXPECT_EQ(text_of(box), L"42");
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);

    SetFocus(box);
    SetWindowTextW(box, L"12345abc");
    SendMessageW(box, EM_SETSEL, 7, 7);
    SetFocus(nullptr);
    EXPECT_EQ(text_of(box), L"12345");
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 5u);
}

TEST_F(WindowRuntime, UnchangedTextKeepsItsCaret)
{
    load();
    HWND box = control(edit);
    SendMessageW(box, EM_SETSEL, 1, 1);
    SetFocus(nullptr);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(text_of(box), L"10");
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
}

TEST_F(WindowRuntime, APastedTextStaysUntilTheFocusLeaves)
{
    load();
    HWND box = control(edit);
    SetFocus(box);
    SetWindowTextW(box, L"");
    ASSERT_TRUE(OpenClipboard(main()));
    EmptyClipboard();
    const wchar_t pasted[] = L"abc";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(pasted));
    ASSERT_NE(memory, nullptr);
    CopyMemory(GlobalLock(memory), pasted, sizeof(pasted));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory); // the clipboard owns it now
    CloseClipboard();
    SendMessageW(box, WM_PASTE, 0, 0);
    EXPECT_EQ(text_of(box), L"abc");
    SetFocus(nullptr);
    EXPECT_EQ(text_of(box), L"");
}

constexpr std::size_t mebi = std::size_t{1} << 20;

// Wine's edit control takes time quadratic in the length of a line of digits
// (seconds at 64 Ki, half an hour at 1 Mi; letters and Chinese take a second at
// 1 Mi), so the test command pastes 64 Ki digits and
// HOMECLICK_LONG_PASTE_CHARS=1048576 makes the long run.
std::size_t digit_paste_chars()
{
    const char* chosen = std::getenv("HOMECLICK_LONG_PASTE_CHARS");
    const unsigned long long chars = chosen != nullptr ? std::strtoull(chosen, nullptr, 10) : 0;
    return chars >= 4 ? static_cast<std::size_t>(chars) : std::size_t{1} << 16;
}

// Committed private memory of this process: heaps, the edit box's text
// buffer, stacks.
std::size_t committed_private_bytes()
{
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto address = std::uintptr_t{0};
         VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof(region)) == sizeof(region);) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        const auto next = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return total;
}

struct long_paste {
    const char* name;
    std::wstring (*make)();
    std::string read_prefix; // the GBK bytes that read_content starts with
    std::size_t read_bytes_per_char;
    std::wstring normalised;
};

void PrintTo(const long_paste& paste, std::ostream* out)
{
    *out << paste.name;
}

class LongPaste : public WindowRuntime, public ::testing::WithParamInterface<long_paste> {
protected:
    // Pastes into the box with the focus in it, checks what is kept and read,
    // then moves the focus away and gives the normalised text.
    std::wstring paste_read_and_leave(const std::wstring& pasted, std::size_t& held)
    {
        HWND box = control(edit);
        SetFocus(box);
        SetWindowTextW(box, L"");
        SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pasted.c_str()));
        EXPECT_EQ(static_cast<std::size_t>(GetWindowTextLengthW(box)), pasted.size());
        {
            const owned_text read = runtime.read_content(edit);
            EXPECT_EQ(read.view().size(), pasted.size() * GetParam().read_bytes_per_char);
            EXPECT_EQ(read.view().substr(0, GetParam().read_prefix.size()), GetParam().read_prefix);
            held = committed_private_bytes();
        }
        SetFocus(nullptr);
        return text_of(box);
    }
};

TEST_P(LongPaste, IsKeptWholeReadAndNormalisedWithNothingLeftBehind)
{
    load();
    EXPECT_GE(static_cast<DWORD>(SendMessageW(control(edit), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
    const std::wstring pasted = GetParam().make();
    const std::size_t before = committed_private_bytes();
    std::size_t held = 0;
    EXPECT_EQ(paste_read_and_leave(pasted, held), GetParam().normalised);
    const std::size_t after_first = committed_private_bytes();
    // The box keeps its text buffer's capacity; everything else the paste,
    // the reading and the normalising took must have been given back, so the
    // same paste again takes no more memory.
    EXPECT_EQ(paste_read_and_leave(pasted, held), GetParam().normalised);
    const std::size_t after_second = committed_private_bytes();
    std::printf("%s, %zu characters: committed private KiB before %zu, while held %zu, after %zu, after again %zu\n",
                GetParam().name, pasted.size(), before / 1024, held / 1024, after_first / 1024, after_second / 1024);
    EXPECT_LE(after_second, after_first + 64 * 1024);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LongPaste,
    ::testing::Values(long_paste{"digits", [] { return std::wstring(digit_paste_chars(), L'7'); }, "7777", 1,
                                 L"2147483647"},
                      long_paste{"signed digits", [] { return L"-" + std::wstring(digit_paste_chars() - 1, L'9'); },
                                 "-999", 1, L"-2147483648"},
                      long_paste{"letters", [] { return std::wstring(mebi, L'x'); }, "xxxx", 1, L""},
                      // Double-byte in GBK: half the characters make the same bytes.
                      long_paste{"Chinese", [] { return std::wstring(mebi / 2, L'中'); }, "\xD6\xD0\xD6\xD0", 2, L""}),
    [](const ::testing::TestParamInfo<long_paste>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(WindowRuntime, TheEditBoxTextLineIsOneLineHighAndCentred)
{
    load();
    HWND box = control(edit);
    RECT client{};
    GetClientRect(box, &client);
    const scoped_release_dc dc{box, GetDC(box)};
    const scoped_select_object font{dc.get(), GetStockObject(DEFAULT_GUI_FONT)};
    SIZE w{};
    GetTextExtentPoint32W(dc.get(), L"W", 1, &w);
    EXPECT_EQ(client.bottom - client.top, w.cy);
    // Inner area: the 32 px box less its sunken edge on both sides.
    RECT outer = window_rect(box);
    RECT inner = client;
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&inner), 2);
    const int border = inner.left - outer.left;
    const int inner_height = (outer.bottom - outer.top) - 2 * border;
    EXPECT_EQ(inner.top - (outer.top + border), (inner_height - w.cy) / 2);
    // A click in the band above the text is a click on the border.
    const LRESULT hit = SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(inner.left + 5, outer.top + border + 1));
    EXPECT_EQ(hit, HTBORDER);
    EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(inner.left + 5, inner.top + 1)), HTCLIENT);
}

TEST_F(WindowRuntime, ReadContentGivesGbkBytesOrNoTextForAnEmptyBox)
{
    load();
    HWND box = control(edit);
    EXPECT_EQ(runtime.read_content(edit).view(), "10");
    SetWindowTextW(box, L"\xFF11\xFF12"); // full-width 12
    EXPECT_EQ(runtime.read_content(edit).view(), "\xA3\xB1\xA3\xB2");
    SetWindowTextW(box, L"");
    EXPECT_FALSE(runtime.read_content(edit));
}

TEST_F(WindowRuntime, TheTimerTicksAtAPositivePeriodAndStopsAtZeroOrBelow)
{
    load();
    EXPECT_EQ(runtime.period(timer), 0);
    pump_for(100);
    EXPECT_EQ(record.ticks, 0);

    runtime.write_period(timer, 20);
    EXPECT_EQ(runtime.period(timer), 20);
    EXPECT_TRUE(pump_until([&] { return record.ticks >= 3; }, 5000));

    for (const std::int32_t stop : {0, -5}) {
        runtime.write_period(timer, 20);
        runtime.write_period(timer, stop);
        EXPECT_EQ(runtime.period(timer), 0);
        pump_for(20);
        const int ticks = record.ticks;
        pump_for(200);
        EXPECT_EQ(record.ticks, ticks) << stop;
    }
    EXPECT_EQ(resolution_counter::begins, resolution_counter::ends);
}

TEST_F(WindowRuntime, WritingTheSamePeriodDoesNotRestartTheTimer)
{
    load();
    runtime.write_period(timer, 50);
    runtime.write_period(timer, 50);
    EXPECT_EQ(resolution_counter::begins, 1);
    EXPECT_EQ(resolution_counter::ends, 0);
    runtime.write_period(timer, 30);
    EXPECT_EQ(resolution_counter::begins, 2);
    EXPECT_EQ(resolution_counter::ends, 1);
    runtime.write_period(timer, 0);
    runtime.write_period(timer, -1);
    EXPECT_EQ(resolution_counter::begins, 2);
    EXPECT_EQ(resolution_counter::ends, 2);
}

TEST_F(WindowRuntime, DestroyingARunningTimerStopsItAndGivesTheResolutionBack)
{
    load();
    runtime.write_period(timer, 10);
    EXPECT_TRUE(pump_until([&] { return record.ticks >= 1; }));
    EXPECT_EQ(close_and_run_loop(), 0);
    const int ticks = record.ticks;
    pump_for(100);
    EXPECT_EQ(record.ticks, ticks);
    EXPECT_EQ(resolution_counter::begins, 1);
    EXPECT_EQ(resolution_counter::ends, 1);
}

TEST_F(WindowRuntime, ATimerDesignedWithAPeriodStartsWithTheWindow)
{
    controls[timer].period = 15;
    load();
    EXPECT_EQ(runtime.period(timer), 15);
    EXPECT_TRUE(pump_until([&] { return record.ticks >= 2; }));
}

TEST_F(WindowRuntime, TheFeedbackMessageRaisesTheLabelsEventWithItsArguments)
{
    load();
    SendMessageW(control(label), hotkey_feedback_message, 33001, 0);
    SendMessageW(control(label), hotkey_feedback_message, 33005, 7);
    EXPECT_EQ(record.feedback, (std::vector<std::pair<std::int32_t, std::int32_t>>{{33001, 0}, {33005, 7}}));
}

TEST_F(WindowRuntime, TheLabelPaintsItsTextOnButtonFace)
{
    load();
    HWND text = control(label);
    RedrawWindow(text, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const scoped_release_dc dc{text, GetDC(text)};
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const auto differs = [&](int x, int y) { return GetPixel(dc.get(), x, y) != face; };
    // Text only on the vertically centred line, whose middle is 44 px down.
    int inked_on_line = 0;
    int inked_elsewhere = 0;
    for (int y = 0; y < 88; ++y) {
        for (int x = 0; x < 128; ++x) {
            (y >= 32 && y < 56 ? inked_on_line : inked_elsewhere) += differs(x, y);
        }
    }
    EXPECT_GT(inked_on_line, 20);
    EXPECT_EQ(inked_elsewhere, 0);
}

TEST_F(WindowRuntime, ADesignThatCannotBeBuiltFailsWithoutAnyEvent)
{
    controls[label].kind = static_cast<control_kind>(99);
    EXPECT_FALSE(runtime.load());
    EXPECT_FALSE(runtime.window_exists());
    EXPECT_TRUE(record.events.empty());
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

} // namespace
} // namespace homeclick::platform
