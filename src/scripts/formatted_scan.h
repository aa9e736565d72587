// The C library's formatted input (sscanf) over 16-bit text, for the few conversions the script
// parsers use. The number of converted fields decides between a parser's cases, so it follows
// the C rules exactly.
#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quillary::scripts {

// Scans `input` with `format`, which may hold "%d" (optional white space, optional sign,
// decimal digits), "%c" (any one character, white space included), white space (matches any
// amount of white space, none included) and literal characters (must match). Converted values go
// to `out` in order ("%c" stores the character's code). Returns the number of fields converted,
// or -1 when the input ends before the first conversion, like sscanf's EOF.
// Numbers beyond the 32-bit range saturate.
int ScanFormat(QStringView input, std::string_view format, std::span<int32_t> out);

// "%d", "%x" and "%f" alone: the value, or nothing when no number was converted.
[[nodiscard]] std::optional<int32_t> ScanDecimal(QStringView input);
[[nodiscard]] std::optional<uint32_t> ScanHex(QStringView input);
[[nodiscard]] std::optional<float> ScanFloat(QStringView input);

// White space as the C library's isspace sees it: space, tab, LF, VT, FF, CR.
[[nodiscard]] constexpr bool IsCSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace quillary::scripts
