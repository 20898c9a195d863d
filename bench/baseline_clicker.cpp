// Baseline for the cadence figures: the least a timer-driven clicker can do.
// baseline_clicker PERIOD_MS SECONDS: clicks at the cursor every PERIOD_MS for
// SECONDS (a fraction is fine), with SetTimer, SetCursorPos and mouse_event and
// nothing else.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        return 2;
    }
    const UINT period = static_cast<UINT>(std::atoi(argv[1]));
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::atof(argv[2]) * 1000);
    // Touch the cursor once first: the first cursor call connects this
    // windowless program to the display, which would delay the first click and
    // shorten the first interval measured.
    POINT start{};
    GetCursorPos(&start);
    SetCursorPos(start.x, start.y);
    SetTimer(nullptr, 0, period, nullptr);
    MSG message;
    while (GetTickCount64() < end && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            POINT at{};
            GetCursorPos(&at);
            SetCursorPos(at.x, at.y);
            mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, static_cast<DWORD>(at.x), static_cast<DWORD>(at.y),
                        0, 0);
        }
    }
    return 0;
}
