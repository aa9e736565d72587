// Field readers of the SubStation Alpha and XSS parsers.
#include "scripts/ssa_fields.h"

#include "scripts/formatted_scan.h"

namespace quillary::scripts {

std::optional<QString> GetStr(QString& line, char16_t separator)
{
    qsizetype start = 0;
    while (start < line.size() && IsCSpace(line[start].unicode())) {
        ++start;
    }
    if (start > 0) {
        line.remove(0, start);
    }
    if (line.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype p = line.indexOf(QChar(separator));
    if (p < 0) {
        return line;
    }
    QString field = line.left(p);
    line.remove(0, p + 1);
    return field;
}

std::optional<int32_t> GetInt(QString& line, char16_t separator)
{
    const auto field = GetStr(line, separator);
    if (!field) {
        return std::nullopt;
    }
    const QString lower = field->toLower();
    if (lower.size() > 2 &&
        (lower.startsWith(QLatin1String("&h")) || lower.startsWith(QLatin1String("0x")))) {
        const auto value = ScanHex(QStringView(lower).mid(2));
        if (!value) {
            return std::nullopt;
        }
        return static_cast<int32_t>(*value);
    }
    return ScanDecimal(lower);
}

std::optional<double> GetFloat(QString& line, char16_t separator)
{
    const auto field = GetStr(line, separator);
    if (!field) {
        return std::nullopt;
    }
    const auto value = ScanFloat(field->toLower());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<double>(*value);
}

} // namespace quillary::scripts
