// Fonts embedded in SubStation Alpha and XSS scripts: their text coding and their registration
// with the platform's font database, in memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

namespace quillary::scripts {

class CTextFile;

// Decodes the script coding of a font: every character c is the 6-bit value c - 33, four values
// give three bytes, a final two or three give one or two. Empty text and a length that leaves one
// value over are rejected.
[[nodiscard]] std::optional<QByteArray> DecodeEmbeddedFont(std::string_view text);

// The inverse, for tests and tools: lines of 80 characters.
[[nodiscard]] QByteArray EncodeEmbeddedFont(const QByteArray& data);

// Registers font bytes as an application font; returns the families it provides. Needs a
// QGuiApplication; without one (command-line tools that do no layout, fuzzing) nothing is
// registered and the list is empty.
QStringList RegisterEmbeddedFont(const QByteArray& data);

// Reads the font lines that follow a "fontname" line, up to and including an empty line or a
// section header ("[...]"). A line beginning with "fontname:" starts the next font. Every font is
// decoded and registered; rejected ones are skipped. Returns the registered families.
QStringList ReadEmbeddedFonts(CTextFile& file);

} // namespace quillary::scripts
