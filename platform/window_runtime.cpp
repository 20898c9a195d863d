#include "platform/window_runtime.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "platform/messages.h"
#include "platform/rules/integer_input.h"
#include "platform/rules/start_position.h"
#include "platform/rules/timer_period.h"
#include "platform/timer_resolution.h"
#include "platform/wide_text.h"
#include "platform/win32_handles.h"

namespace homeclick::platform {
namespace {

constexpr wchar_t main_class[] = L"homeclick.main";
constexpr wchar_t label_class[] = L"homeclick.label";
constexpr wchar_t timer_class[] = L"homeclick.timer";

// Window extra bytes of the run time's own classes.
constexpr int runtime_slot = 0;
constexpr int period_slot = sizeof(LONG_PTR);
constexpr int window_extra_bytes = 2 * sizeof(LONG_PTR);

constexpr int first_control_id = 1001;
constexpr UINT_PTR edit_subclass_id = 1;

// Text the box's gets to integer is read as GBK whatever the system's code page,
// so that full-width digits mean the same everywhere.
constexpr UINT interval_code_page = 936;

constexpr wchar_t error_caption[] = L"错误";
constexpr wchar_t load_failure_text[] = L"运行时出错!\r\n\r\n载入启动窗口失败";

[[nodiscard]] HINSTANCE instance() noexcept
{
    return GetModuleHandleW(nullptr);
}

[[nodiscard]] COLORREF colour_of(rgb colour) noexcept
{
    if (colour == system_button_face) {
        return GetSysColor(COLOR_BTNFACE);
    }
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

// Sets a control's colours on dc and returns the brush that fills its background.
[[nodiscard]] HBRUSH apply_colours(HDC dc, const control_design& design) noexcept
{
    SetTextColor(dc, colour_of(design.text_colour));
    SetBkColor(dc, colour_of(design.background));
    if (design.background == system_button_face) {
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    SetDCBrushColor(dc, colour_of(design.background));
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

[[nodiscard]] HFONT gui_font() noexcept
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

[[nodiscard]] bool no_modifier_down() noexcept
{
    return ((GetKeyState(VK_CONTROL) | GetKeyState(VK_SHIFT) | GetKeyState(VK_MENU)) & 0x8000) == 0;
}

[[nodiscard]] bool takes_focus(HWND control) noexcept
{
    return (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0 && IsWindowVisible(control) &&
           IsWindowEnabled(control);
}

// The next tab-stop control after from in the stacking order, wrapping round;
// from itself when it is the only one.
[[nodiscard]] HWND next_tab_stop(HWND parent, HWND from, bool backwards) noexcept
{
    const UINT step = backwards ? GW_HWNDPREV : GW_HWNDNEXT;
    const UINT wrap = backwards ? GW_HWNDLAST : GW_HWNDFIRST;
    HWND first = GetWindow(parent, GW_CHILD);
    if (!first) {
        return nullptr;
    }
    HWND candidate = from ? from : first;
    do {
        candidate = GetWindow(candidate, step);
        if (!candidate) {
            candidate = GetWindow(first, wrap);
        }
        if (takes_focus(candidate)) {
            return candidate;
        }
    } while (candidate != from && candidate != nullptr && from != nullptr);
    return takes_focus(first) ? first : nullptr;
}

void focus_first_tab_stop(HWND parent) noexcept
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (takes_focus(child)) {
            SetFocus(child);
            return;
        }
    }
}

// Rewrites an integer box's text as the plain integer it starts with, keeping
// the caret where the selection started.
void normalise_integer_box(HWND box) noexcept
{
    const wide_text current = wide_text::of_window(box);
    if (!current) {
        return;
    }
    const std::int32_t value = rules::leading_integer_clamped(current.view());
    if (rules::equals_normalised(current.view(), value)) {
        return;
    }
    wide_text replacement = wide_text::of_size(rules::normalised_length(value));
    if (!replacement) {
        return;
    }
    rules::write_normalised(value, replacement.data());
    DWORD selection_start = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selection_start), 0);
    SetWindowTextW(box, replacement.c_str());
    const auto caret = static_cast<WPARAM>(rules::caret_after_normalising(selection_start, replacement.view().size()));
    SendMessageW(box, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

[[nodiscard]] int line_height(HWND box) noexcept
{
    const scoped_release_dc dc{nullptr, GetDC(nullptr)};
    if (!dc.get()) {
        return 0;
    }
    auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    const scoped_select_object select{dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT)};
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), L"W", 1, &size);
    return size.cy;
}

// A one-line edit box draws its text at the top of its client area; shrinking
// the client area to one line, centred, centres the text.
void centre_one_line(HWND box, RECT& client) noexcept
{
    const int inner = client.bottom - client.top;
    const int line = line_height(box);
    if (line <= 0 || line >= inner) {
        return;
    }
    client.top += (inner - line) / 2;
    client.bottom = client.top + line;
}

// Fills the bands above and below the one-line client area, which are
// non-client area now, with the box's own background.
void paint_bands(HWND box) noexcept
{
    RECT window{};
    RECT client{};
    GetWindowRect(box, &window);
    GetClientRect(box, &client);
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    const int border = client.left;
    const int inner_bottom = (window.bottom - window.top) - border;
    const RECT above{client.left, border, client.right, client.top};
    const RECT below{client.left, client.bottom, client.right, inner_bottom};

    const scoped_release_dc dc{box, GetWindowDC(box)};
    if (!dc.get()) {
        return;
    }
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(box), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(box)));
    if (!brush) {
        brush = GetSysColorBrush(COLOR_WINDOW);
    }
    FillRect(dc.get(), &above, brush);
    FillRect(dc.get(), &below, brush);
}

} // namespace

struct window_runtime::procedures {
    [[nodiscard]] static window_runtime* runtime_of(HWND window) noexcept
    {
        return reinterpret_cast<window_runtime*>(GetWindowLongPtrW(window, runtime_slot));
    }

    [[nodiscard]] static const control_design* design_of(const window_runtime* runtime, HWND control) noexcept
    {
        if (!runtime || !runtime->design_) {
            return nullptr;
        }
        const auto index = static_cast<std::size_t>(GetDlgCtrlID(control) - first_control_id);
        const auto& controls = runtime->design_->controls;
        return index < controls.size() ? &controls[index] : nullptr;
    }

    static void close_on_escape(window_runtime& runtime) noexcept
    {
        if (runtime.design_ && runtime.design_->escape_closes && no_modifier_down()) {
            SendMessageW(to_hwnd(runtime.main_), WM_CLOSE, 0, 0);
        }
    }

    [[nodiscard]] static bool close_allowed(window_runtime& runtime, bool answer) noexcept
    {
        if (runtime.events_enabled_) {
            runtime.design_->on_close_query(answer);
        }
        return answer;
    }

    static LRESULT CALLBACK main(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, runtime_slot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        window_runtime* runtime = runtime_of(window);
        if (!runtime) {
            return DefWindowProcW(window, message, wparam, lparam);
        }
        switch (message) {
        case WM_CLOSE:
            if (close_allowed(*runtime, true)) {
                DestroyWindow(window);
            }
            return 0;
        case WM_QUERYENDSESSION:
            return close_allowed(*runtime, DefWindowProcW(window, message, wparam, lparam) != FALSE);
        case WM_DESTROY:
            if (runtime->events_enabled_) {
                runtime->design_->on_destroying();
            }
            return 0;
        case WM_NCDESTROY:
            runtime->events_enabled_ = false;
            runtime->main_ = {};
            SetWindowLongPtrW(window, runtime_slot, 0);
            if (std::exchange(runtime->quit_on_destroy_, false)) {
                PostQuitMessage(0);
            }
            break;
        case WM_SETFOCUS: focus_first_tab_stop(window); return 0;
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) {
                close_on_escape(*runtime);
                return 0;
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (const auto* design = design_of(runtime, reinterpret_cast<HWND>(lparam))) {
                return reinterpret_cast<LRESULT>(apply_colours(reinterpret_cast<HDC>(wparam), *design));
            }
            break;
        default: break;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    static LRESULT CALLBACK edit_box(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                     DWORD_PTR reference) noexcept
    {
        auto* runtime = reinterpret_cast<window_runtime*>(reference);
        const control_design* design = design_of(runtime, box);
        switch (message) {
        case WM_CHAR:
            if (design && design->integer_input &&
                !rules::accepts_typed_character(static_cast<std::uint32_t>(wparam))) {
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) {
                close_on_escape(*runtime);
                return 0;
            }
            if (wparam == VK_TAB) {
                const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
                if (HWND next = next_tab_stop(GetParent(box), box, backwards); next && next != box) {
                    SetFocus(next);
                }
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
            if (design && design->integer_input) {
                normalise_integer_box(box);
            }
            return result;
        }
        case WM_NCCALCSIZE: {
            const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
            RECT& client =
                wparam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0] : *reinterpret_cast<RECT*>(lparam);
            centre_one_line(box, client);
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
            paint_bands(box);
            return result;
        }
        case WM_NCHITTEST: {
            // The bands are border: a click there must not move the caret.
            POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            ScreenToClient(box, &point);
            RECT client{};
            GetClientRect(box, &client);
            if (!PtInRect(&client, point)) {
                return HTBORDER;
            }
            break;
        }
        case WM_NCDESTROY: RemoveWindowSubclass(box, edit_box, edit_subclass_id); break;
        default: break;
        }
        return DefSubclassProc(box, message, wparam, lparam);
    }

    static void paint_label(HWND label, const control_design& design) noexcept
    {
        const scoped_paint paint{label};
        if (!paint.dc()) {
            return;
        }
        RECT client{};
        GetClientRect(label, &client);
        FillRect(paint.dc(), &client, apply_colours(paint.dc(), design));
        SetBkMode(paint.dc(), TRANSPARENT);
        const scoped_select_object font{paint.dc(), gui_font()};
        const wide_text text = wide_text::of_window(label);
        DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.view().size()), &client,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    }

    static LRESULT CALLBACK label(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, runtime_slot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        window_runtime* runtime = runtime_of(window);
        const control_design* design = design_of(runtime, window);
        switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT:
            if (design) {
                paint_label(window, *design);
                return 0;
            }
            break;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wparam, lparam);
            InvalidateRect(window, nullptr, FALSE);
            return result;
        }
        case hotkey_feedback_message:
            if (design && runtime->events_enabled_) {
                design->on_feedback(static_cast<std::int32_t>(wparam), static_cast<std::int32_t>(lparam));
            }
            return 0;
        default: break;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    static LRESULT CALLBACK timer(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, runtime_slot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        switch (message) {
        case WM_TIMER:
            if (wparam == timer_identifier) {
                window_runtime* runtime = runtime_of(window);
                const control_design* design = design_of(runtime, window);
                if (design && runtime->events_enabled_) {
                    design->on_tick();
                }
                return 0;
            }
            break;
        case WM_DESTROY: apply_period(window, 0); return 0;
        default: break;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    static void apply_period(HWND timer_window, std::int32_t milliseconds) noexcept
    {
        const auto held = static_cast<std::int32_t>(GetWindowLongPtrW(timer_window, period_slot));
        const rules::period_change change = rules::write_period(held, milliseconds);
        SetWindowLongPtrW(timer_window, period_slot, change.stored);
        if (change.stop_running) {
            KillTimer(timer_window, timer_identifier);
            timer_resolution::release();
        }
        if (change.start) {
            timer_resolution::request();
            SetTimer(timer_window, timer_identifier, static_cast<UINT>(change.stored), nullptr);
        }
    }

    [[nodiscard]] static HWND create_control(window_runtime& runtime, HWND parent, std::size_t index) noexcept
    {
        const control_design& design = runtime.design_->controls[index];
        const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_control_id + static_cast<int>(index)));
        const DWORD tab_stop = design.tab_stop ? WS_TABSTOP : 0;
        const placement& at = design.place;
        switch (design.kind) {
        case control_kind::edit_box: {
            HWND box =
                CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, design.text, WS_CHILD | ES_LEFT | ES_AUTOHSCROLL | tab_stop,
                                at.x, at.y, at.width, at.height, parent, id, instance(), nullptr);
            if (box) {
                SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), FALSE);
                // 0: the system's maximum rather than the 32767-character default,
                // so that a long paste is kept whole until it is normalised.
                SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
                SetWindowSubclass(box, edit_box, edit_subclass_id, reinterpret_cast<DWORD_PTR>(&runtime));
                SetWindowPos(box, nullptr, 0, 0, 0, 0,
                             SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return box;
        }
        case control_kind::label:
            return CreateWindowExW(0, label_class, design.text, WS_CHILD | tab_stop, at.x, at.y, at.width, at.height,
                                   parent, id, instance(), &runtime);
        case control_kind::timer: {
            HWND timer_window = CreateWindowExW(0, timer_class, L"", WS_CHILD, at.x, at.y, at.width, at.height, parent,
                                                id, instance(), &runtime);
            if (timer_window) {
                apply_period(timer_window, design.period);
            }
            return timer_window;
        }
        }
        return nullptr;
    }
};

window_runtime::window_runtime() noexcept
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    timer_resolution::keep_when_hidden();

    WNDCLASSEXW main{};
    main.cbSize = sizeof(main);
    main.lpfnWndProc = procedures::main;
    main.cbWndExtra = window_extra_bytes;
    main.hInstance = instance();
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = main_class;
    RegisterClassExW(&main);

    WNDCLASSEXW label = main;
    label.lpfnWndProc = procedures::label;
    label.hbrBackground = nullptr;
    label.lpszClassName = label_class;
    RegisterClassExW(&label);

    WNDCLASSEXW timer = label;
    timer.lpfnWndProc = procedures::timer;
    timer.lpszClassName = timer_class;
    RegisterClassExW(&timer);
}

window_runtime::~window_runtime()
{
    // Handlers may be gone by now: a window still open is destroyed silently.
    events_enabled_ = false;
    quit_on_destroy_ = false;
    unique_hwnd leftover{to_hwnd(main_)};
}

void window_runtime::take_design(const window_design& design) noexcept
{
    design_ = &design;
}

bool window_runtime::load() noexcept
{
    if (!design_ || window_exists()) {
        return false;
    }
    const window_design& design = *design_;
    const placement& outer = design.place;
    rules::screen_point corner{outer.x, outer.y};
    if (design.start == start_position::centred_on_primary_screen) {
        corner = rules::centred_start(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), outer.width,
                                      outer.height);
    }
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (design.minimise_box ? WS_MINIMIZEBOX : 0) |
                        (design.maximise_box ? WS_MAXIMIZEBOX : 0) | (design.sizing_frame ? WS_THICKFRAME : 0);
    unique_hwnd window{CreateWindowExW(0, main_class, design.caption, style, corner.x, corner.y, outer.width,
                                       outer.height, nullptr, nullptr, instance(), this)};
    if (!window.get()) {
        return false;
    }
    main_ = to_system_handle(window.get());

    RECT actual{};
    GetWindowRect(window.get(), &actual);
    if (actual.right - actual.left != outer.width || actual.bottom - actual.top != outer.height) {
        SetWindowPos(window.get(), nullptr, 0, 0, outer.width, outer.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (design.icon_resource != 0) {
        const auto load_icon = [](int resource, int metric_x, int metric_y) {
            return LoadImageW(instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON, GetSystemMetrics(metric_x),
                              GetSystemMetrics(metric_y), LR_SHARED);
        };
        SendMessageW(window.get(), WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(load_icon(design.icon_resource, SM_CXICON, SM_CYICON)));
        SendMessageW(window.get(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(load_icon(design.icon_resource, SM_CXSMICON, SM_CYSMICON)));
    }

    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        if (!procedures::create_control(*this, window.get(), i)) {
            return false;
        }
    }
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        ShowWindow(to_hwnd(control_handle(static_cast<control_index>(i))),
                   design.controls[i].visible ? SW_SHOWNA : SW_HIDE);
    }

    HWND shown = window.release();
    events_enabled_ = true;
    quit_on_destroy_ = true;
    design.on_created();
    ShowWindow(shown, SW_SHOW);
    UpdateWindow(shown);
    return true;
}

void window_runtime::load_start_window() noexcept
{
    if (!load()) {
        MessageBoxW(nullptr, load_failure_text, error_caption, MB_ICONERROR | MB_OK);
        ExitProcess(static_cast<UINT>(-1));
    }
}

int window_runtime::message_loop() noexcept
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

bool window_runtime::window_exists() const noexcept
{
    return main_ != system_handle{} && IsWindow(to_hwnd(main_));
}

system_handle window_runtime::main_window_handle() const noexcept
{
    return main_;
}

system_handle window_runtime::control_handle(control_index control) const noexcept
{
    if (main_ == system_handle{}) {
        return {};
    }
    return to_system_handle(GetDlgItem(to_hwnd(main_), first_control_id + control));
}

owned_text window_runtime::read_content(control_index edit_box) const noexcept
{
    const HWND box = to_hwnd(control_handle(edit_box));
    if (!box) {
        return {};
    }
    return to_code_page(wide_text::of_window(box).view(), interval_code_page);
}

void window_runtime::write_period(control_index timer, std::int32_t milliseconds) noexcept
{
    if (HWND window = to_hwnd(control_handle(timer))) {
        procedures::apply_period(window, milliseconds);
    }
}

std::int32_t window_runtime::period(control_index timer) const noexcept
{
    const HWND window = to_hwnd(control_handle(timer));
    return window ? static_cast<std::int32_t>(GetWindowLongPtrW(window, period_slot)) : 0;
}

} // namespace homeclick::platform
