// The interval box's normalisation against a reference: 128-bit parsing that
// saturates at the 64-bit limits, clamping, and the C library's "%d".
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/rules/integer_input.h"

namespace {

std::u16string reference(const std::u16string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= 9 && text[i] <= 13))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i++] == u'-';
    }
    __int128 value = 0;
    const __int128 limit = static_cast<__int128>(1) << 63;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit) {
            value = limit;
        }
    }
    if (negative) {
        value = -value;
    } else if (value == limit) {
        value = limit - 1;
    }
    if (value > INT32_MAX) {
        value = INT32_MAX;
    } else if (value < INT32_MIN) {
        value = INT32_MIN;
    }
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%d", static_cast<int>(value));
    const std::string narrow = formatted;
    return narrow == "0" ? std::u16string{} : std::u16string(narrow.begin(), narrow.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    namespace rules = homeclick::rules;
    const std::int32_t value = rules::leading_integer_clamped(std::u16string_view{text});
    std::u16string normalised(rules::normalised_length(value), u'?');
    rules::write_normalised(value, normalised.data());
    const std::u16string expected = reference(text);
    if (normalised != expected || rules::equals_normalised(std::u16string_view{text}, value) != (text == expected)) {
        std::abort();
    }
    return 0;
}
