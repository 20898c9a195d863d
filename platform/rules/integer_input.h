#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "platform/rules/text_to_integer.h"

namespace homeclick::rules {

// What typing may put into an integer box. Control characters pass so that
// Backspace and the edit box's Ctrl shortcuts keep working.
[[nodiscard]] constexpr bool accepts_typed_character(std::uint32_t code) noexcept
{
    return code < 32 || is_decimal_digit(code) || code == '-';
}

// The leading integer of the box's text, read as a 64-bit value that saturates
// rather than overflows, then clamped to the 32-bit range.
template <class Char>
[[nodiscard]] constexpr std::int32_t leading_integer_clamped(std::basic_string_view<Char> text) noexcept
{
    std::size_t at = 0;
    const auto code = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(text[i]));
    };
    while (at < text.size() && is_blank(code(at))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (code(at) == '+' || code(at) == '-')) {
        negative = code(at) == '-';
        ++at;
    }
    // Magnitudes up to 2^63 are exact; anything beyond saturates there.
    constexpr std::uint64_t saturated = std::uint64_t{1} << 63;
    std::uint64_t magnitude = 0;
    for (; at < text.size() && is_decimal_digit(code(at)); ++at) {
        const std::uint64_t digit = code(at) - '0';
        magnitude = magnitude > (saturated - digit) / 10 ? saturated : magnitude * 10 + digit;
    }
    constexpr std::uint64_t int32_max = std::numeric_limits<std::int32_t>::max();
    if (negative) {
        return magnitude > int32_max ? std::numeric_limits<std::int32_t>::min() : -static_cast<std::int32_t>(magnitude);
    }
    return magnitude > int32_max ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

[[nodiscard]] constexpr std::uint32_t magnitude_of(std::int32_t value) noexcept
{
    return value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
}

// Number of characters that write_normalised produces; 0 stands for the empty text
// because an interval of 0 is shown as an empty box.
[[nodiscard]] constexpr std::size_t normalised_length(std::int32_t value) noexcept
{
    if (value == 0) {
        return 0;
    }
    std::uint32_t magnitude = magnitude_of(value);
    std::size_t length = value < 0 ? 1 : 0;
    for (; magnitude != 0; magnitude /= 10) {
        ++length;
    }
    return length;
}

// Writes the normalised text of value ("%d", empty for 0) into out, which must
// hold normalised_length(value) characters.
template <class Char> constexpr void write_normalised(std::int32_t value, Char* out) noexcept
{
    const std::size_t length = normalised_length(value);
    std::uint32_t magnitude = magnitude_of(value);
    if (value < 0) {
        out[0] = Char{'-'};
    }
    for (std::size_t i = length; magnitude != 0; magnitude /= 10) {
        out[--i] = static_cast<Char>('0' + magnitude % 10);
    }
}

template <class Char>
[[nodiscard]] constexpr bool equals_normalised(std::basic_string_view<Char> text, std::int32_t value) noexcept
{
    if (text.size() != normalised_length(value)) {
        return false;
    }
    std::uint32_t magnitude = magnitude_of(value);
    if (value < 0 && text[0] != Char{'-'}) {
        return false;
    }
    for (std::size_t i = text.size(); magnitude != 0; magnitude /= 10) {
        if (text[--i] != static_cast<Char>('0' + magnitude % 10)) {
            return false;
        }
    }
    return true;
}

// Where the caret goes after the text was replaced: where the selection
// started, or the end of a text that became shorter than that.
[[nodiscard]] constexpr std::size_t caret_after_normalising(std::size_t selection_start,
                                                            std::size_t new_length) noexcept
{
    return selection_start < new_length ? selection_start : new_length;
}

} // namespace homeclick::rules
