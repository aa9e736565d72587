// Windows character sets and code pages: the charset -> code page table, double-byte lead bytes
// and the conversion of multibyte text to Unicode.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string_view>

namespace quillary::scripts {

// Code page 0 stands for "the default ANSI code page", a setting of the engine.
inline constexpr int kDefaultAnsiCodePage = 0;

// The code page of a Windows character set number (0 ANSI, 128 Shift-JIS, 134 GB2312, ...).
// Character sets that name no code page (1 DEFAULT, 2 SYMBOL, 77 MAC, 255 OEM, unknown
// numbers) give kDefaultAnsiCodePage.
[[nodiscard]] int CodePageFromCharSet(int charSet);

// True when `byte` starts a two-byte character in `codePage` (932, 936, 949, 950, 1361; and
// the default code page when it is set to one of them). Other code pages have no lead bytes.
[[nodiscard]] bool IsLeadByte(int codePage, uint8_t byte);

// Decodes `bytes` with `codePage`. A lead byte and its following byte become one character;
// bytes that the code page does not map become U+FFFD.
[[nodiscard]] QString DecodeCodePage(int codePage, std::string_view bytes);

// The default ANSI code page used for code page 0; windows-1252 unless changed.
// `name` is a code page number ("932"), "cpNNN", "windows-NNNN" or any encoding name that the
// platform's converter knows ("Shift_JIS", "GBK", "ISO-8859-2"). Returns false and keeps the
// old setting when the name is unknown. Not thread-safe: set it once at start-up.
[[nodiscard]] bool SetDefaultAnsiCodePage(std::string_view name);
[[nodiscard]] QByteArray DefaultAnsiCodePageName();

} // namespace quillary::scripts
