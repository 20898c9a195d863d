#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace homeclick::platform {

struct free_deleter {
    void operator()(void* p) const noexcept { std::free(p); }
};

// A text handed out by the run time. It lives on the C heap so that the
// program needs neither operator new nor the exception machinery behind it.
class owned_text {
public:
    owned_text() noexcept = default;

    // Copies bytes; an empty result if memory is short, which reads as no text.
    [[nodiscard]] static owned_text copy_of(std::string_view bytes) noexcept
    {
        owned_text text;
        text.bytes_.reset(static_cast<char*>(std::malloc(bytes.size() + 1)));
        if (text.bytes_) {
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                text.bytes_.get()[i] = bytes[i];
            }
            text.bytes_.get()[bytes.size()] = '\0';
            text.size_ = bytes.size();
        }
        return text;
    }

    // Takes a malloc'd buffer holding size bytes and a terminating NUL.
    [[nodiscard]] static owned_text adopt(char* bytes, std::size_t size) noexcept
    {
        owned_text text;
        text.bytes_.reset(bytes);
        text.size_ = bytes ? size : 0;
        return text;
    }

    [[nodiscard]] explicit operator bool() const noexcept { return bytes_ != nullptr; }
    [[nodiscard]] std::string_view view() const noexcept { return {bytes_ ? bytes_.get() : "", size_}; }

private:
    std::unique_ptr<char, free_deleter> bytes_;
    std::size_t size_ = 0;
};

} // namespace homeclick::platform
