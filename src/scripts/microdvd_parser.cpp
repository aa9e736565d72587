// MicroDVD (.sub): "{start}{end}text" in frame numbers, "{NAME}{codes}" style lines, and the
// "{letter:value}" codes inside the text.
#include "scripts/formatted_scan.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"

#include <array>
#include <limits>

namespace quillary::scripts {
namespace {

constexpr int32_t kOpenEndFrames = 60;

struct SCode {
    QChar letter;      // as written
    QStringView value; // after "letter:"
};

// "{c:$..." etc.: the part between "{" and the next "}" (or the end); no code when the letter is
// not followed by ":".
std::optional<SCode> SplitCode(QStringView code)
{
    if (code.size() < 3 || code[2] != u':') {
        return std::nullopt;
    }
    return SCode{code[1], code.mid(3)};
}

STSStyle ParseStyleCodes(QStringView codes, int charSet, bool unicode)
{
    STSStyle style;
    qsizetype pos = 0;
    while (pos < codes.size()) {
        const qsizetype open = FindChar(codes, u'{', pos, charSet, unicode);
        if (open < 0) {
            break;
        }
        qsizetype close = FindChar(codes, u'}', open, charSet, unicode);
        if (close < 0) {
            close = codes.size();
        }
        pos = close + 1;
        const auto code = SplitCode(codes.mid(open, close - open));
        if (!code) {
            continue;
        }
        switch (code->letter.toLower().unicode()) {
        case u'c':
            if (code->value.startsWith(u'$')) {
                style.colors[0] = ScanHex(code->value.mid(1)).value_or(0);
            }
            break;
        case u'f':
            style.fontName = Narrow(code->value, unicode);
            break;
        case u's':
            style.fontSize = ScanFloat(code->value).value_or(0.0f);
            break;
        case u'h':
            style.charSet = ScanDecimal(code->value).value_or(0);
            break;
        case u'y': {
            const QString letters = code->value.toString().toLower();
            if (letters.contains(u'b')) {
                style.fontWeight = 700;
            }
            style.italic = style.italic || letters.contains(u'i');
            style.underline = style.underline || letters.contains(u'u');
            style.strikeOut = style.strikeOut || letters.contains(u's');
            break;
        }
        case u'p':
            style.alignment = ScanDecimal(code->value).value_or(0) == 0 ? 8 : 2;
            break;
        default:
            break;
        }
    }
    return style;
}

// Codes written with a lower-case letter hold for one line only; their resets are appended at
// the end of the line, in this order.
enum LocalCode { kColour, kFontName, kFontSize, kCharSet, kBold, kItalic, kUnderline, kStrike };
constexpr std::array<const char*, 8> kResets{"{\\c}", "{\\fn}", "{\\fs}", "{\\fe}",
                                             "{\\b}", "{\\i}",  "{\\u}",  "{\\s}"};

QString TranslateCode(QStringView code, std::array<bool, 8>& local)
{
    const auto split = SplitCode(code);
    if (!split) {
        return code.toString();
    }
    const bool lineLocal = split->letter.isLower();
    const QStringView value = split->value;
    switch (split->letter.toLower().unicode()) {
    case u'c':
        if (!value.startsWith(u'$')) {
            return code.toString();
        }
        local[kColour] = local[kColour] || lineLocal;
        return QString::asprintf("{\\c&H%x&}", ScanHex(value.mid(1)).value_or(0));
    case u'f':
        local[kFontName] = local[kFontName] || lineLocal;
        return QLatin1String("{\\fn") + value.toString() + QLatin1Char('}');
    case u's':
        local[kFontSize] = local[kFontSize] || lineLocal;
        return QString::asprintf("{\\fs%f}", double{ScanFloat(value).value_or(0.0f)});
    case u'h':
        local[kCharSet] = local[kCharSet] || lineLocal;
        return QString::asprintf("{\\fe%d}", ScanDecimal(value).value_or(0));
    case u'y': {
        const QString letters = value.toString().toLower();
        QString out = QStringLiteral("{");
        constexpr std::array<std::pair<char16_t, LocalCode>, 4> flags{
            {{u'b', kBold}, {u'i', kItalic}, {u'u', kUnderline}, {u's', kStrike}}};
        for (const auto& [letter, slot] : flags) {
            if (letters.contains(QChar(letter))) {
                out += QLatin1Char('\\') + QChar(letter) + QLatin1Char('1');
                local[slot] = local[slot] || lineLocal;
            }
        }
        return out + QLatin1Char('}');
    }
    case u'o': {
        std::array<int32_t, 3> xy{};
        (void)ScanFormat(value, "%d%c%d", xy);
        return QString::asprintf("{\\move(%d,%d,0,0,0,0)}", xy[0], xy[2]);
    }
    default:
        break;
    }
    return code.toString();
}

QString ConvertText(QStringView text, int charSet, bool unicode)
{
    QString out;
    std::array<bool, 8> local{};
    qsizetype lineStart = 0;
    while (true) {
        const qsizetype bar = FindChar(text, u'|', lineStart, charSet, unicode);
        const QStringView line = text.mid(lineStart, (bar < 0 ? text.size() : bar) - lineStart);
        qsizetype pos = 0;
        while (pos < line.size()) {
            const qsizetype open = FindChar(line, u'{', pos, charSet, unicode);
            if (open < 0) {
                out += line.mid(pos);
                break;
            }
            out += line.mid(pos, open - pos);
            const qsizetype close = FindChar(line, u'}', open, charSet, unicode);
            const qsizetype codeEnd = close < 0 ? line.size() : close;
            out += TranslateCode(line.mid(open, codeEnd - open), local);
            pos = codeEnd + 1;
        }
        if (bar < 0) {
            break;
        }
        for (size_t i = 0; i < local.size(); ++i) {
            if (local[i]) {
                out += QLatin1String(kResets[i]);
                local[i] = false;
            }
        }
        out += QLatin1String("\\N");
        lineStart = bar + 1;
    }
    return out;
}

} // namespace

bool OpenMicroDvd(CTextFile& file, CSimpleTextSubtitle& ret, int charSet)
{
    const bool unicode = file.IsUnicode();
    std::string styleName = CSimpleTextSubtitle::kDefaultStyle;
    int currentCharSet = charSet;
    bool openEnd = false;
    bool endPending = false;
    QString line;
    while (ReadNonBlankLine(file, line)) {
        std::array<int32_t, 2> frames{};
        int fields = ScanFormat(line, "{%d}{%d}", frames);
        if (fields != 2 && ScanFormat(line, "{%d}{}", frames) == 1) {
            // No end frame: at most 60 frames, and no later than the next entry's start.
            frames[1] = static_cast<int32_t>(std::min<int64_t>(
                int64_t{frames[0]} + kOpenEndFrames, std::numeric_limits<int32_t>::max()));
            openEnd = true;
            fields = 2;
        }
        if (fields != 2) {
            const qsizetype close = line.indexOf(QLatin1Char('}'));
            if (!line.startsWith(QLatin1Char('{')) || close < 2) {
                return false;
            }
            // A style line: "{NAME}" and its codes; DEFAULT and default both name "Default".
            const QString upper = line.mid(1, close - 1).toUpper();
            const QString styleTitle = upper.left(1) + upper.mid(1).toLower();
            auto style = std::make_unique<STSStyle>(
                ParseStyleCodes(QStringView(line).mid(close + 1), currentCharSet, unicode));
            currentCharSet = style->charSet;
            styleName = Narrow(styleTitle, unicode);
            ret.AddStyle(styleName, std::move(style));
            continue;
        }
        if (endPending && !ret.entries.empty()) {
            // A next entry that starts before this one cannot give it a negative duration.
            STSEntry& last = ret.entries.back();
            last.end = std::max(last.start, std::min(last.end, frames[0]));
        }
        endPending = false;
        const qsizetype second = line.indexOf(QLatin1Char('}'), line.indexOf(QLatin1Char('}')) + 1);
        ret.Add(ConvertText(QStringView(line).mid(second + 1), currentCharSet, unicode), unicode,
                frames[0], frames[1], styleName);
        if (openEnd) {
            openEnd = false;
            endPending = true;
        }
    }
    return !ret.entries.empty();
}

} // namespace quillary::scripts
