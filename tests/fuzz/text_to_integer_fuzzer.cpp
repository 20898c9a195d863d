// text_to_integer against a reference written separately: it decodes the whole
// text into characters first and does its arithmetic in 128 bits, reducing
// modulo 2^32 explicitly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/rules/text_to_integer.h"

namespace {

constexpr int other = -1;

std::vector<int> decode(const std::uint8_t* data, std::size_t size)
{
    std::vector<int> characters;
    for (std::size_t i = 0; i < size;) {
        const int lead = data[i];
        if (lead < 0x80) {
            characters.push_back(lead);
            ++i;
            continue;
        }
        if (i + 1 == size) {
            break; // a lead byte without its trail is dropped
        }
        const int trail = data[i + 1];
        i += 2;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            characters.push_back(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            characters.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            characters.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            characters.push_back('*');
        } else {
            characters.push_back(other);
        }
    }
    return characters;
}

std::int32_t reference(const std::uint8_t* data, std::size_t size)
{
    const std::vector<int> c = decode(data, size);
    std::size_t i = 0;
    while (i < c.size() && (c[i] == ' ' || (c[i] >= 9 && c[i] <= 13))) {
        ++i;
    }
    bool negative = false;
    if (i < c.size() && (c[i] == '+' || c[i] == '-')) {
        negative = c[i++] == '-';
    }
    unsigned __int128 value = 0;
    const unsigned __int128 modulus = static_cast<unsigned __int128>(1) << 32;
    for (; i < c.size() && c[i] >= '0' && c[i] <= '9'; ++i) {
        value = (value * 10 + static_cast<unsigned>(c[i] - '0')) % modulus;
    }
    if (negative) {
        value = (modulus - value) % modulus;
    }
    const auto bits = static_cast<std::uint32_t>(value);
    return bits >= 0x80000000u ? static_cast<std::int32_t>(static_cast<std::int64_t>(bits) - 0x100000000LL)
                               : static_cast<std::int32_t>(bits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text{reinterpret_cast<const char*>(data), size};
    if (homeclick::rules::text_to_integer(text) != reference(data, size)) {
        std::abort();
    }
    return 0;
}
