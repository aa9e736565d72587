// Embedded fonts: decoded and handed to QFontDatabase from memory, never through a file.
#include "scripts/embedded_fonts.h"

#include "scripts/parsers.h"
#include "scripts/text_file.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>

#include <string>

namespace quillary::scripts {

std::optional<QByteArray> DecodeEmbeddedFont(std::string_view text)
{
    if (text.empty() || text.size() % 4 == 1) {
        return std::nullopt;
    }
    QByteArray out;
    out.reserve(static_cast<qsizetype>(text.size() / 4 * 3 + 2));
    const auto value = [&](size_t i) { return static_cast<uint32_t>(text[i] - 33) & 0xFFu; };
    for (size_t i = 0; i < text.size(); i += 4) {
        const size_t left = std::min<size_t>(4, text.size() - i);
        const uint32_t a = value(i);
        const uint32_t b = value(i + 1);
        const uint32_t c = left > 2 ? value(i + 2) : 0;
        const uint32_t d = left > 3 ? value(i + 3) : 0;
        out += static_cast<char>(((a * 4) | ((b / 16) & 3)) & 0xFF);
        if (left > 2) {
            out += static_cast<char>(((b * 16) | ((c / 4) & 15)) & 0xFF);
        }
        if (left > 3) {
            out += static_cast<char>(((c * 64) | (d & 63)) & 0xFF);
        }
    }
    return out;
}

QByteArray EncodeEmbeddedFont(const QByteArray& data)
{
    QByteArray out;
    int column = 0;
    const auto put = [&](uint32_t v) {
        out += static_cast<char>((v & 63) + 33);
        if (++column == 80) {
            out += '\n';
            column = 0;
        }
    };
    for (qsizetype i = 0; i < data.size(); i += 3) {
        const qsizetype left = std::min<qsizetype>(3, data.size() - i);
        const uint32_t b0 = static_cast<uint8_t>(data[i]);
        const uint32_t b1 = left > 1 ? static_cast<uint8_t>(data[i + 1]) : 0;
        const uint32_t b2 = left > 2 ? static_cast<uint8_t>(data[i + 2]) : 0;
        put(b0 >> 2);
        put(((b0 & 3) << 4) | (b1 >> 4));
        if (left > 1) {
            put(((b1 & 15) << 2) | (b2 >> 6));
        }
        if (left > 2) {
            put(b2 & 63);
        }
    }
    if (column != 0) {
        out += '\n';
    }
    return out;
}

QStringList RegisterEmbeddedFont(const QByteArray& data)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return {};
    }
    const int id = QFontDatabase::addApplicationFontFromData(data);
    return id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
}

namespace {

// "[" is also a character of the font coding (value 58), and about one data line in 64 begins
// with it; a section header is a whole bracketed line of words ("[Events]", "[V4+ Styles]").
bool IsSectionHeader(const QString& line)
{
    if (line.size() < 2 || !line.startsWith(QLatin1Char('[')) || !line.endsWith(QLatin1Char(']'))) {
        return false;
    }
    for (qsizetype i = 1; i + 1 < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        const bool word = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                          (c >= u'0' && c <= u'9') || c == u' ' || c == u'+';
        if (!word) {
            return false;
        }
    }
    return true;
}

} // namespace

QStringList ReadEmbeddedFonts(CTextFile& file)
{
    QStringList families;
    std::string current;
    const auto flush = [&] {
        if (const auto bytes = DecodeEmbeddedFont(current)) {
            families += RegisterEmbeddedFont(*bytes);
        }
        current.clear();
    };
    QString line;
    while (file.ReadString(line)) {
        line = TrimSpace(line);
        if (line.isEmpty() || IsSectionHeader(line)) {
            break;
        }
        if (line.startsWith(QLatin1String("fontname:"))) {
            flush();
            continue;
        }
        for (QChar c : line) {
            current += static_cast<char>(c.unicode() & 0xFF);
        }
    }
    if (!current.empty()) {
        flush();
    }
    return families;
}

} // namespace quillary::scripts
