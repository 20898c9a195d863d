#include "platform/timer_resolution.h"

#include <windows.h>

#include <utility>

namespace homeclick::platform::timer_resolution {
namespace {

constexpr UINT finest_period_ms = 1;

using period_function = UINT(WINAPI*)(UINT);

// winmm is loaded when the first timer starts, not with the program: most runs
// start and idle without ever clicking. Only the UI thread gets here.
struct winmm_functions {
    period_function begin = nullptr;
    period_function end = nullptr;
    bool looked_up = false;
};
winmm_functions winmm;

const winmm_functions& loaded_winmm() noexcept
{
    if (!winmm.looked_up) {
        winmm.looked_up = true;
        if (HMODULE module = LoadLibraryW(L"winmm.dll")) {
            const auto find = [module](const char* name) {
                return reinterpret_cast<period_function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
            };
            winmm.begin = find("timeBeginPeriod");
            winmm.end = find("timeEndPeriod");
        }
    }
    return winmm;
}

unsigned begin_period(unsigned milliseconds)
{
    const auto begin = loaded_winmm().begin;
    return begin ? begin(milliseconds) : 0;
}

unsigned end_period(unsigned milliseconds)
{
    const auto end = loaded_winmm().end;
    return end ? end(milliseconds) : 0;
}

period_calls calls{begin_period, end_period};

// From Windows 8's processthreadsapi.h; spelt out because the program
// targets older systems too and looks the function up at run time.
constexpr int process_power_throttling = 4;
constexpr ULONG power_throttling_version = 1;
constexpr ULONG power_throttling_ignore_timer_resolution = 0x4;
struct power_throttling_state {
    ULONG version;
    ULONG control_mask;
    ULONG state_mask;
};
using set_process_information_function = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

} // namespace

void keep_when_hidden() noexcept
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto set_process_information = reinterpret_cast<set_process_information_function>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetProcessInformation")));
    if (!set_process_information) {
        return;
    }
    // Control without state: this process's timer resolution is never throttled.
    power_throttling_state state{power_throttling_version, power_throttling_ignore_timer_resolution, 0};
    set_process_information(GetCurrentProcess(), process_power_throttling, &state, sizeof(state));
}

void request() noexcept
{
    calls.begin(finest_period_ms);
}

void release() noexcept
{
    calls.end(finest_period_ms);
}

period_calls replace_calls(period_calls replacement) noexcept
{
    return std::exchange(calls, replacement);
}

} // namespace homeclick::platform::timer_resolution
