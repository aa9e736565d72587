// Character-set-aware search and conversion of multibyte script text.
#include "scripts/multibyte_text.h"

#include "scripts/code_pages.h"

#include <limits>

namespace quillary::scripts {
namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The decimal number at `i`, or -1 when no digit is there.
int ReadDigits(QStringView text, qsizetype i)
{
    if (i >= text.size() || !IsDigit(text[i])) {
        return -1;
    }
    int value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min(value * 10 + (text[i].unicode() - u'0'), 1'000'000);
    }
    return value;
}

bool IsLead(int codePage, QChar c)
{
    return c.unicode() <= 0xFF && IsLeadByte(codePage, static_cast<uint8_t>(c.unicode()));
}

QString Convert(QStringView bytes, int charSet)
{
    std::string raw;
    raw.reserve(static_cast<size_t>(bytes.size()));
    for (QChar c : bytes) {
        raw += static_cast<char>(c.unicode() & 0xFF);
    }
    return DecodeCodePage(CodePageFromCharSet(charSet), raw);
}

} // namespace

// Walks multibyte text from its first byte and calls `visit(i)` for every character that is not
// the trail byte of a double-byte character, at or after `start`, until `visit` returns false.
template <typename Visit>
void WalkMultiByte(QStringView text, qsizetype start, int charSet, Visit visit)
{
    const int baseCodePage = CodePageFromCharSet(charSet);
    int codePage = baseCodePage;
    bool inBlock = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (IsLead(codePage, c)) {
            ++i;
            continue;
        }
        if (i >= start && !visit(i)) {
            return;
        }
        if (c == u'{') {
            inBlock = true;
        } else if (c == u'}') {
            inBlock = false;
        } else if (inBlock && c == u'e' && i >= 2 && text[i - 2] == u'\\' && text[i - 1] == u'f') {
            const int number = ReadDigits(text, i + 1);
            codePage = number < 0 ? baseCodePage : CodePageFromCharSet(number);
        }
    }
}

qsizetype FindChar(QStringView text, char16_t wanted, qsizetype start, int charSet, bool isUnicode)
{
    if (isUnicode) {
        return text.indexOf(QChar(wanted), start);
    }
    qsizetype found = -1;
    WalkMultiByte(text, start, charSet, [&](qsizetype i) {
        if (text[i] == QChar(wanted)) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

void ReplaceChar(QString& text, char16_t wanted, QStringView replacement, int charSet,
                 bool isUnicode)
{
    if (isUnicode) {
        text.replace(QChar(wanted), replacement.toString());
        return;
    }
    QString result;
    qsizetype from = 0;
    const QStringView view(text);
    WalkMultiByte(view, 0, charSet, [&](qsizetype i) {
        if (view[i] == QChar(wanted)) {
            result += view.mid(from, i - from);
            result += replacement;
            from = i + 1;
        }
        return true;
    });
    if (from > 0) {
        result += view.mid(from);
        text = result;
    }
}

QString MultiByteToUnicode(QStringView text, int baseCharSet)
{
    QString out;
    int current = baseCharSet;
    while (true) {
        const qsizetype open = FindChar(text, u'{', 0, current, false);
        if (open < 0) {
            out += Convert(text, current);
            break;
        }
        out += Convert(text.left(open), current);
        text = text.mid(open);
        const qsizetype close = FindChar(text, u'}', 0, current, false);
        if (close < 0) {
            out += Convert(text, baseCharSet);
            break;
        }
        const QStringView block = text.left(close + 1);
        const qsizetype fe = block.indexOf(QLatin1String("\\fe"));
        if (fe >= 0) {
            const int number = ReadDigits(block, fe + 3);
            current = number < 0 ? baseCharSet : number;
        }
        out += Convert(block, baseCharSet);
        text = text.mid(close + 1);
    }
    return out;
}

std::string Narrow(QStringView text, bool isUnicode)
{
    if (isUnicode) {
        return text.toUtf8().toStdString();
    }
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        out += static_cast<char>(c.unicode() & 0xFF);
    }
    return out;
}

QString Widen(std::string_view text, bool isUnicode)
{
    const auto size = static_cast<qsizetype>(text.size());
    return isUnicode ? QString::fromUtf8(text.data(), size)
                     : QString::fromLatin1(text.data(), size);
}

} // namespace quillary::scripts
