// sscanf-style scanning over QStringView.
#include "scripts/formatted_scan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quillary::scripts {
namespace {

constexpr int64_t kSaturate = int64_t{1} << 40;

qsizetype SkipSpace(QStringView s, qsizetype i) {
    while (i < s.size() && IsCSpace(s[i].unicode())) {
        ++i;
    }
    return i;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Reads an optionally signed number in `base` at `i` (after white space). Returns false when no
// digit follows; `value` saturates far beyond the 32-bit range.
bool ReadInteger(QStringView s, qsizetype& i, int base, int64_t& value) {
    qsizetype p = SkipSpace(s, i);
    bool negative = false;
    if (p < s.size() && (s[p] == u'+' || s[p] == u'-')) {
        negative = s[p] == u'-';
        ++p;
    }
    if (base == 16 && p + 1 < s.size() && s[p] == u'0' && (s[p + 1] == u'x' || s[p + 1] == u'X') &&
        p + 2 < s.size() && HexDigit(s[p + 2].unicode()) >= 0) {
        p += 2;
    }
    int64_t v = 0;
    const qsizetype digitsStart = p;
    while (p < s.size()) {
        const int d = HexDigit(s[p].unicode());
        if (d < 0 || d >= base) {
            break;
        }
        v = std::min(v * base + d, kSaturate);
        ++p;
    }
    if (p == digitsStart) {
        return false;
    }
    i = p;
    value = negative ? -v : v;
    return true;
}

int32_t SaturateInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

int ScanFormat(QStringView input, std::string_view format, std::span<int32_t> out) {
    qsizetype i = 0;
    int converted = 0;
    size_t slot = 0;
    const auto endOfInput = [&] { return converted == 0 ? -1 : converted; };
    for (size_t f = 0; f < format.size(); ++f) {
        const char fc = format[f];
        if (IsCSpace(static_cast<char16_t>(fc))) {
            i = SkipSpace(input, i);
            continue;
        }
        if (fc == '%' && f + 1 < format.size()) {
            const char spec = format[++f];
            if (spec == 'd') {
                if (SkipSpace(input, i) >= input.size()) {
                    return endOfInput();
                }
                int64_t value = 0;
                if (!ReadInteger(input, i, 10, value)) {
                    return converted;
                }
                if (slot < out.size()) {
                    out[slot++] = SaturateInt32(value);
                }
                ++converted;
            } else if (spec == 'c') {
                if (i >= input.size()) {
                    return endOfInput();
                }
                if (slot < out.size()) {
                    out[slot++] = input[i].unicode();
                }
                ++i;
                ++converted;
            }
            continue;
        }
        if (i >= input.size()) {
            return endOfInput();
        }
        if (input[i] != QChar(static_cast<char16_t>(static_cast<unsigned char>(fc)))) {
            return converted;
        }
        ++i;
    }
    return converted;
}

std::optional<int32_t> ScanDecimal(QStringView input) {
    qsizetype i = 0;
    int64_t value = 0;
    if (!ReadInteger(input, i, 10, value)) {
        return std::nullopt;
    }
    return SaturateInt32(value);
}

std::optional<uint32_t> ScanHex(QStringView input) {
    qsizetype i = 0;
    int64_t value = 0;
    if (!ReadInteger(input, i, 16, value)) {
        return std::nullopt;
    }
    // Like strtoul into an unsigned int: a negative number wraps, a huge one saturates.
    if (value >= kSaturate) {
        return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(value);
}

std::optional<float> ScanFloat(QStringView input) {
    qsizetype p = SkipSpace(input, 0);
    // Copy the longest run that can belong to a number; from_chars decides how much of it is one.
    std::string text;
    bool negative = false;
    if (p < input.size() && (input[p] == u'+' || input[p] == u'-')) {
        negative = input[p] == u'-';
        ++p;
    }
    for (; p < input.size() && text.size() < 256; ++p) {
        const char16_t c = input[p].unicode();
        if (c >= 0x80 ||
            !(std::isalnum(static_cast<unsigned char>(c)) || c == u'.' || c == u'+' || c == u'-')) {
            break;
        }
        text += static_cast<char>(c);
    }
    float value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end == text.data()) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        // Overflow reads as infinity and underflow as zero, as strtof gives them.
        const bool tiny =
            text.find_first_of("eE") != std::string::npos && text.find("e-") != std::string::npos;
        value = tiny ? 0.0f : std::numeric_limits<float>::infinity();
    }
    return negative ? -value : value;
}

} // namespace quillary::scripts
