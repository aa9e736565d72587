// sscanf-style scanning over QStringView.
#include "scripts/formatted_scan.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace quillary::scripts {
namespace {

constexpr int64_t kSaturate = int64_t{1} << 40;

qsizetype SkipSpace(QStringView s, qsizetype i)
{
    while (i < s.size() && IsCSpace(s[i].unicode())) {
        ++i;
    }
    return i;
}

int HexDigit(char16_t c)
{
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
bool ReadInteger(QStringView s, qsizetype& i, int base, int64_t& value)
{
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

int32_t SaturateInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

int ScanFormat(QStringView input, std::string_view format, std::span<int32_t> out)
{
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
            const char conversion = format[++f];
            if (conversion == 'd') {
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
            } else if (conversion == 'c') {
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

std::optional<int32_t> ScanDecimal(QStringView input)
{
    qsizetype i = 0;
    int64_t value = 0;
    if (!ReadInteger(input, i, 10, value)) {
        return std::nullopt;
    }
    return SaturateInt32(value);
}

std::optional<uint32_t> ScanHex(QStringView input)
{
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

std::optional<float> ScanFloat(QStringView input)
{
    // strtof in the C locale reads what "%f" reads (signs, exponents, "inf", "nan", hexadecimal),
    // whatever locale the application set; overflow gives infinity and underflow zero.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    std::string text;
    text.reserve(static_cast<size_t>(std::min<qsizetype>(input.size(), 256)));
    for (qsizetype i = 0; i < input.size() && text.size() < 256; ++i) {
        const char16_t c = input[i].unicode();
        if (c == 0 || c >= 0x80) {
            break;
        }
        text += static_cast<char>(c);
    }
    char* end = nullptr;
    const float value = strtof_l(text.c_str(), &end, cLocale);
    if (end == text.c_str()) {
        return std::nullopt;
    }
    return value;
}

} // namespace quillary::scripts
