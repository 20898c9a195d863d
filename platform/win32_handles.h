#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

#include "platform/services.h"

namespace homeclick::platform {

// Destroys its window unless the window is already gone or ownership was given up.
class unique_hwnd {
public:
    unique_hwnd() noexcept = default;
    explicit unique_hwnd(HWND window) noexcept : window_(window) {}
    unique_hwnd(unique_hwnd&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    unique_hwnd& operator=(unique_hwnd&& other) noexcept
    {
        reset(std::exchange(other.window_, nullptr));
        return *this;
    }
    ~unique_hwnd() { reset(); }

    void reset(HWND window = nullptr) noexcept
    {
        if (window_ && IsWindow(window_)) {
            DestroyWindow(window_);
        }
        window_ = window;
    }
    [[nodiscard]] HWND get() const noexcept { return window_; }
    HWND release() noexcept { return std::exchange(window_, nullptr); }

private:
    HWND window_ = nullptr;
};

class scoped_select_object {
public:
    scoped_select_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    scoped_select_object(const scoped_select_object&) = delete;
    scoped_select_object& operator=(const scoped_select_object&) = delete;
    ~scoped_select_object()
    {
        if (previous_) {
            SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class scoped_paint {
public:
    explicit scoped_paint(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
    scoped_paint(const scoped_paint&) = delete;
    scoped_paint& operator=(const scoped_paint&) = delete;
    ~scoped_paint() { EndPaint(window_, &paint_); }
    [[nodiscard]] HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// A DC from GetDC or GetWindowDC, given back with ReleaseDC.
class scoped_release_dc {
public:
    scoped_release_dc(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    scoped_release_dc(const scoped_release_dc&) = delete;
    scoped_release_dc& operator=(const scoped_release_dc&) = delete;
    ~scoped_release_dc()
    {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

[[nodiscard]] inline HWND to_hwnd(system_handle handle) noexcept
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
}

[[nodiscard]] inline system_handle to_system_handle(HWND window) noexcept
{
    return static_cast<system_handle>(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace homeclick::platform
