#pragma once

#include <cstdint>
#include <string_view>

namespace homeclick::rules {

// The interval box is read as GBK (code page 936) bytes. Full-width forms that a
// Chinese IME produces by default are folded to ASCII first, so that "１２" in the
// box means 12 on every system.
namespace gbk {

// A folded character: a byte value below 0x100, or one of these markers.
inline constexpr std::uint32_t other_double_byte = 0x100;
inline constexpr std::uint32_t end_of_text = 0x101;

struct folded {
    std::uint32_t character;
    std::size_t next;
};

[[nodiscard]] constexpr folded fold_at(std::string_view text, std::size_t at) noexcept
{
    if (at >= text.size()) {
        return {end_of_text, at};
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, at + 1};
    }
    // A lead byte with nothing after it is an incomplete character: dropped.
    if (at + 1 >= text.size()) {
        return {end_of_text, text.size()};
    }
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        return {static_cast<std::uint32_t>(trail - 0x80u), at + 2};
    }
    if (lead == 0xA1) {
        switch (trail) {
        case 0xA1: return {' ', at + 2};
        case 0xAB: return {'~', at + 2};
        case 0xEE:
        case 0xEF: return {'*', at + 2};
        default: break;
        }
    }
    return {other_double_byte, at + 2};
}

} // namespace gbk

[[nodiscard]] constexpr bool is_blank(std::uint32_t c) noexcept
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

[[nodiscard]] constexpr bool is_decimal_digit(std::uint32_t c) noexcept
{
    return c >= '0' && c <= '9';
}

// Leading integer of a GBK text, as the C library's atoi would read it after the
// full-width folding, except that overflow wraps modulo 2^32 instead of being
// undefined.
[[nodiscard]] constexpr std::int32_t text_to_integer(std::string_view text) noexcept
{
    auto c = gbk::fold_at(text, 0);
    while (is_blank(c.character)) {
        c = gbk::fold_at(text, c.next);
    }
    bool negative = false;
    if (c.character == '+' || c.character == '-') {
        negative = c.character == '-';
        c = gbk::fold_at(text, c.next);
    }
    std::uint32_t value = 0;
    while (is_decimal_digit(c.character)) {
        value = value * 10u + (c.character - '0');
        c = gbk::fold_at(text, c.next);
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace homeclick::rules
