// Multibyte script text: entry text read from a file without a Unicode encoding holds one byte
// per character. These helpers search it without mistaking the trail byte of a double-byte
// character for an ASCII one, and convert it to Unicode with the character sets of its style and
// of its "\fe" override tags.
#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace quillary::scripts {

// Index of the first `wanted` at or after `start`, or -1. Unicode text is searched plainly.
// Multibyte text is walked from its first byte: a lead byte (of the code page of `charSet`)
// skips the byte after it, and inside an override block "\fe" followed by digits switches the
// code page used for lead bytes to that of the character set the digits give ("\fe" alone:
// back to `charSet`).
[[nodiscard]] qsizetype FindChar(QStringView text, char16_t wanted, qsizetype start, int charSet,
                                 bool isUnicode);

// Replaces every `wanted` found by FindChar with `replacement`.
void ReplaceChar(QString& text, char16_t wanted, QStringView replacement, int charSet,
                 bool isUnicode);

// Converts multibyte text (one byte per character) to Unicode, chunk by chunk: text outside
// override blocks with the current character set, the blocks themselves with `baseCharSet`;
// "\fe<digits>" inside a block sets the current character set, "\fe" alone restores the base.
[[nodiscard]] QString MultiByteToUnicode(QStringView text, int baseCharSet);

// Narrow strings (style names, font names, actors, effects) keep the bytes of a multibyte file
// as they are; text read in a Unicode encoding is kept as UTF-8.
[[nodiscard]] std::string Narrow(QStringView text, bool isUnicode);
[[nodiscard]] QString Widen(std::string_view text, bool isUnicode);

} // namespace quillary::scripts
