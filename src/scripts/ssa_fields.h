// The field readers of the header-based formats: each consumes one separated field from the left
// of a line. A reader that fails aborts the line.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace quillary::scripts {

// Removes white space from the start of `line` and takes the text before `separator`, leaving
// the text after it in `line`. Without a separator the field is the whole line and `line` stays
// as it is. Fails on an empty line.
[[nodiscard]] std::optional<QString> GetStr(QString& line, char16_t separator = u',');
// GetStr, lower-cased, read as "&h"/"0x" hexadecimal or "%d" decimal.
[[nodiscard]] std::optional<int32_t> GetInt(QString& line, char16_t separator = u',');
// GetStr, lower-cased, read with "%f" into a 32-bit float.
[[nodiscard]] std::optional<double> GetFloat(QString& line, char16_t separator = u',');

} // namespace quillary::scripts
