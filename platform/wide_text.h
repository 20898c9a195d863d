#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/owned_text.h"

namespace homeclick::platform {

// A window's text on the C heap, as long as the text is.
class wide_text {
public:
    [[nodiscard]] static wide_text of_window(HWND window) noexcept
    {
        wide_text text;
        const int capacity = GetWindowTextLengthW(window) + 1;
        text.chars_.reset(static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * static_cast<std::size_t>(capacity))));
        if (text.chars_) {
            const int copied = GetWindowTextW(window, text.chars_.get(), capacity);
            text.size_ = copied > 0 ? static_cast<std::size_t>(copied) : 0;
        }
        return text;
    }

    [[nodiscard]] static wide_text of_size(std::size_t size) noexcept
    {
        wide_text text;
        text.chars_.reset(static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * (size + 1))));
        if (text.chars_) {
            text.chars_.get()[size] = L'\0';
            text.size_ = size;
        }
        return text;
    }

    [[nodiscard]] explicit operator bool() const noexcept { return chars_ != nullptr; }
    [[nodiscard]] wchar_t* data() noexcept { return chars_.get(); }
    [[nodiscard]] const wchar_t* c_str() const noexcept { return chars_ ? chars_.get() : L""; }
    [[nodiscard]] std::wstring_view view() const noexcept { return {c_str(), size_}; }

private:
    std::unique_ptr<wchar_t, free_deleter> chars_;
    std::size_t size_ = 0;
};

// Converts to a code page's bytes; no text for an empty input or when memory is short.
[[nodiscard]] inline owned_text to_code_page(std::wstring_view text, UINT code_page) noexcept
{
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    auto* bytes = static_cast<char*>(std::malloc(static_cast<std::size_t>(size) + 1));
    if (!bytes) {
        return {};
    }
    WideCharToMultiByte(code_page, 0, text.data(), length, bytes, size, nullptr, nullptr);
    bytes[size] = '\0';
    return owned_text::adopt(bytes, static_cast<std::size_t>(size));
}

} // namespace homeclick::platform
