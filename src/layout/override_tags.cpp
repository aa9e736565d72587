// Override tags: splitting a "{...}" block into commands and applying them to the running style
// and the event.
#include "layout/override_tags.h"

#include "layout/saturate.h"

#include "scripts/code_pages.h"

#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <string>

namespace quillary::layout {

namespace {

// How a command name gives its appended parameter: the rest of the command as it is, the rest
// with "&" and "H" trimmed from both ends (colours and alphas), or no split at all.
enum class Split { Rest, RestHex, Whole };

struct SPrefix {
    const char16_t* name;
    Split split;
};

// Tested in this order, by prefix: longer names come before the shorter ones they start with.
constexpr std::array kPrefixes{
    SPrefix{u"1c", Split::RestHex},    SPrefix{u"2c", Split::RestHex},
    SPrefix{u"3c", Split::RestHex},    SPrefix{u"4c", Split::RestHex},
    SPrefix{u"1a", Split::RestHex},    SPrefix{u"2a", Split::RestHex},
    SPrefix{u"3a", Split::RestHex},    SPrefix{u"4a", Split::RestHex},
    SPrefix{u"alpha", Split::RestHex}, SPrefix{u"an", Split::Rest},
    SPrefix{u"a", Split::Rest},        SPrefix{u"blur", Split::Rest},
    SPrefix{u"bord", Split::Rest},     SPrefix{u"be", Split::Rest},
    SPrefix{u"b", Split::Rest},        SPrefix{u"clip", Split::Whole},
    SPrefix{u"c", Split::RestHex},     SPrefix{u"fade", Split::Whole},
    SPrefix{u"fe", Split::Rest},       SPrefix{u"fn", Split::Rest},
    SPrefix{u"frx", Split::Rest},      SPrefix{u"fry", Split::Rest},
    SPrefix{u"frz", Split::Rest},      SPrefix{u"fax", Split::Rest},
    SPrefix{u"fay", Split::Rest},      SPrefix{u"fr", Split::Rest},
    SPrefix{u"fscx", Split::Rest},     SPrefix{u"fscy", Split::Rest},
    SPrefix{u"fsc", Split::Rest},      SPrefix{u"fsp", Split::Rest},
    SPrefix{u"fs", Split::Rest},       SPrefix{u"iclip", Split::Whole},
    SPrefix{u"i", Split::Rest},        SPrefix{u"kt", Split::Rest},
    SPrefix{u"kf", Split::Rest},       SPrefix{u"ko", Split::Rest},
    SPrefix{u"k", Split::Rest},        SPrefix{u"K", Split::Rest},
    SPrefix{u"move", Split::Whole},    SPrefix{u"org", Split::Whole},
    SPrefix{u"pbo", Split::Rest},      SPrefix{u"pos", Split::Whole},
    SPrefix{u"p", Split::Rest},        SPrefix{u"q", Split::Rest},
    SPrefix{u"r", Split::Rest},        SPrefix{u"shad", Split::Rest},
    SPrefix{u"s", Split::Rest},        SPrefix{u"t", Split::Whole},
    SPrefix{u"u", Split::Rest},        SPrefix{u"xbord", Split::Rest},
    SPrefix{u"xshad", Split::Rest},    SPrefix{u"ybord", Split::Rest},
    SPrefix{u"yshad", Split::Rest},
};

QStringView TrimAmpersandH(QStringView text)
{
    const auto isTrimmed = [](QChar c) { return c == u'&' || c == u'H'; };
    while (!text.isEmpty() && isTrimmed(text.front())) {
        text = text.mid(1);
    }
    while (!text.isEmpty() && isTrimmed(text.back())) {
        text.chop(1);
    }
    return text;
}

// "a, b, \tags" -> {"a", "b", "\tags"}: commas after the first backslash stay in the last one.
void SplitParams(QStringView text, std::vector<QString>& params)
{
    while (!(text = text.trimmed()).isEmpty()) {
        const qsizetype comma = text.indexOf(u',');
        const qsizetype backslash = text.indexOf(u'\\');
        if (comma >= 0 && (backslash < 0 || comma < backslash)) {
            if (const QStringView param = text.left(comma).trimmed(); !param.isEmpty()) {
                params.push_back(param.toString());
            }
            text = text.mid(comma + 1);
        } else {
            params.push_back(text.toString());
            break;
        }
    }
}

int32_t ClampInt(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Names of styles and fonts are narrow strings as the script parsers store them.
std::string NarrowName(QStringView name, bool isUnicode)
{
    if (isUnicode) {
        return name.toUtf8().toStdString();
    }
    QStringEncoder encoder(scripts::DefaultAnsiCodePageName().constData());
    if (!encoder.isValid()) {
        return name.toLatin1().toStdString();
    }
    const QByteArray bytes = encoder.encode(name);
    return bytes.toStdString();
}

// Alignment of the old SSA "\a" numbering (1-3 bottom, +4 top, +8 middle) on the keypad.
int32_t AlignmentFromLegacy(int32_t a)
{
    return (a & 3) + ((a & 4) ? 6 : ((a & 8) ? 3 : 0));
}

int32_t ParamInt(const std::vector<QString>& params, size_t index)
{
    return index < params.size() ? Saturate<int32_t>(ReadReal(params[index])) : 0;
}

void ApplyCommand(const STagCommand& command, STagState& state)
{
    scripts::STSStyle& s = state.style;
    const scripts::STSStyle& o = state.eventStyle;
    CSubtitle& sub = state.subtitle;
    const QString& n = command.name;
    const std::vector<QString>& params = command.params;
    const QStringView p = params.empty() ? QStringView() : QStringView(params.front());
    const bool empty = p.isEmpty();

    const auto real = [&](double fallback) { return empty ? fallback : ReadReal(p); };
    const auto positive = [&](double fallback) {
        return empty ? fallback : std::max(ReadReal(p), 0.0);
    };
    const auto flag = [&](bool fallback) {
        const int64_t v = empty ? -1 : ReadInt(p);
        return v == 0 ? false : (v == 1 ? true : fallback);
    };
    const auto colour = [&](size_t i) {
        s.colors[i] = empty ? o.colors[i] : static_cast<uint32_t>(ReadInt(p, 16));
    };
    const auto alpha = [&](size_t i) {
        s.alpha[i] = empty ? o.alpha[i] : static_cast<uint8_t>(ReadInt(p, 16));
    };
    const auto karaoke = [&](int32_t type) {
        state.karaoke.type = type;
        state.karaoke.start = state.karaoke.end;
        state.karaoke.end = ClampInt(static_cast<int64_t>(state.karaoke.end) +
                                     (empty ? 1000 : int64_t{ClampInt(ReadInt(p))} * 10));
    };

    if (n == u"c" || n == u"1c") {
        colour(0);
    } else if (n == u"2c" || n == u"3c" || n == u"4c") {
        colour(static_cast<size_t>(n[0].unicode() - u'1'));
    } else if (n == u"1a" || n == u"2a" || n == u"3a" || n == u"4a") {
        alpha(static_cast<size_t>(n[0].unicode() - u'1'));
    } else if (n == u"alpha") {
        for (size_t i = 0; i < 4; ++i) {
            alpha(i);
        }
    } else if (n == u"b") {
        const int64_t v = empty ? -1 : ReadInt(p);
        s.fontWeight = v == 0 ? 400 : v == 1 ? 700 : v >= 100 ? ClampInt(v) : o.fontWeight;
    } else if (n == u"i") {
        s.italic = flag(o.italic);
    } else if (n == u"u") {
        s.underline = flag(o.underline);
    } else if (n == u"s") {
        s.strikeOut = flag(o.strikeOut);
    } else if (n == u"fn") {
        s.fontName = empty || p == u"0" ? o.fontName : NarrowName(p, state.isUnicode);
    } else if (n == u"fs") {
        if (empty) {
            s.fontSize = o.fontSize;
        } else {
            const auto v = static_cast<double>(ReadInt(p));
            const double size =
                p.front() == u'+' || p.front() == u'-' ? s.fontSize + s.fontSize * v / 10 : v;
            s.fontSize = size > 0 ? size : o.fontSize;
        }
    } else if (n == u"fscx") {
        s.fontScaleX = empty ? o.fontScaleX : static_cast<double>(std::max<int64_t>(ReadInt(p), 0));
    } else if (n == u"fscy") {
        s.fontScaleY = empty ? o.fontScaleY : static_cast<double>(std::max<int64_t>(ReadInt(p), 0));
    } else if (n == u"fsc") {
        s.fontScaleX = o.fontScaleX;
        s.fontScaleY = o.fontScaleY;
    } else if (n == u"fsp") {
        s.fontSpacing = real(o.fontSpacing);
    } else if (n == u"fe") {
        s.charSet = empty ? o.charSet : ClampInt(ReadInt(p));
    } else if (n == u"frx") {
        s.angleX = real(o.angleX);
    } else if (n == u"fry") {
        s.angleY = real(o.angleY);
    } else if (n == u"frz" || n == u"fr") {
        s.angleZ = real(o.angleZ);
    } else if (n == u"fax") {
        s.shearX = real(o.shearX);
    } else if (n == u"fay") {
        s.shearY = real(o.shearY);
    } else if (n == u"bord") {
        s.outlineWidthX = positive(o.outlineWidthX);
        s.outlineWidthY = positive(o.outlineWidthY);
    } else if (n == u"xbord") {
        s.outlineWidthX = positive(o.outlineWidthX);
    } else if (n == u"ybord") {
        s.outlineWidthY = positive(o.outlineWidthY);
    } else if (n == u"shad") {
        s.shadowDepthX = positive(o.shadowDepthX);
        s.shadowDepthY = positive(o.shadowDepthY);
    } else if (n == u"xshad") {
        s.shadowDepthX = real(o.shadowDepthX);
    } else if (n == u"yshad") {
        s.shadowDepthY = real(o.shadowDepthY);
    } else if (n == u"be") {
        s.edgeBlur = empty ? o.edgeBlur : Saturate<int32_t>(ReadReal(p) + 0.5);
    } else if (n == u"blur") {
        s.gaussianBlur = positive(o.gaussianBlur);
    } else if (n == u"r") {
        const scripts::STSStyle* named =
            empty ? nullptr : state.styles.Lookup(NarrowName(p, state.isUnicode));
        s = named ? *named : o;
    } else if (n == u"p") {
        state.drawingScale = std::max(ClampInt(ReadInt(p)), 0);
    } else if (n == u"pbo") {
        state.drawingBaseline = ClampInt(ReadInt(p));
    } else if (n == u"q") {
        const int64_t v = ReadInt(p);
        sub.wrapStyle =
            !empty && v >= 0 && v <= 3 ? static_cast<int32_t>(v) : state.scriptWrapStyle;
    } else if (n == u"k") {
        karaoke(0);
    } else if (n == u"K" || n == u"kf") {
        karaoke(1);
    } else if (n == u"ko") {
        karaoke(2);
    } else if (n == u"kt") {
        state.karaoke.start = state.karaoke.end =
            empty ? 0 : ClampInt(int64_t{ClampInt(ReadInt(p))} * 10);
    } else if (n == u"t") {
        // (tags), (acceleration, tags), (start, end, tags), (start, end, acceleration, tags).
        const size_t count = params.size();
        if (count >= 1 && count <= 4) {
            state.animation = {};
            if (count >= 3) {
                state.animation.start = ParamInt(params, 0);
                state.animation.end = ParamInt(params, 1);
            }
            if (count == 2 || count == 4) {
                state.animation.acceleration = ReadReal(params[count - 2]);
            }
            sub.animated = true;
        }
    } else if (n == u"an") {
        const int64_t v = ReadInt(p);
        if (sub.scrAlignment < 0 && v >= 1 && v <= 9) {
            sub.scrAlignment = static_cast<int32_t>(v);
        }
    } else if (n == u"a") {
        const int64_t v = ReadInt(p);
        if (sub.scrAlignment < 0 && v >= 1 && v <= 11) {
            sub.scrAlignment = AlignmentFromLegacy(static_cast<int32_t>(v));
        }
    } else if (n == u"pos") {
        if (params.size() == 2 && !sub.move) {
            const QPoint at(ParamInt(params, 0), ParamInt(params, 1));
            sub.move = SMoveEffect{at, at, 0, 0};
        }
    } else if (n == u"move") {
        if ((params.size() == 4 || params.size() == 6) && !sub.move) {
            sub.move = SMoveEffect{QPoint(ParamInt(params, 0), ParamInt(params, 1)),
                                   QPoint(ParamInt(params, 2), ParamInt(params, 3)),
                                   ParamInt(params, 4), ParamInt(params, 5)};
        }
    } else if (n == u"org") {
        if (params.size() == 2 && !sub.origin) {
            sub.origin = QPoint(ParamInt(params, 0), ParamInt(params, 1));
        }
    } else if (n == u"fad") {
        if (params.size() == 2 && !sub.fade) {
            sub.fade =
                SFadeEffect{{255, 0, 255}, {0, ParamInt(params, 0), ParamInt(params, 1), 0}, true};
        }
    } else if (n == u"fade") {
        if (params.size() == 7 && !sub.fade) {
            sub.fade = SFadeEffect{{ParamInt(params, 0), ParamInt(params, 1), ParamInt(params, 2)},
                                   {ParamInt(params, 3), ParamInt(params, 4), ParamInt(params, 5),
                                    ParamInt(params, 6)},
                                   false};
        }
    } else if (n == u"clip" || n == u"iclip") {
        SClip clip;
        clip.set = true;
        clip.inverse = n == u"iclip";
        if (params.size() == 4) {
            clip.rect = QRect(QPoint(ParamInt(params, 0), ParamInt(params, 1)),
                              QPoint(ParamInt(params, 2), ParamInt(params, 3)));
        } else if (params.size() == 1 || params.size() == 2) {
            clip.scale = params.size() == 2 ? std::max(ParamInt(params, 0), 1) : 1;
            clip.drawing = params.back();
        } else {
            clip.set = false;
        }
        if (clip.set) {
            sub.clip = clip;
        }
    }
}

} // namespace

std::vector<STagCommand> SplitTags(QStringView block)
{
    std::vector<STagCommand> commands;
    qsizetype i = block.indexOf(u'\\');
    while (i >= 0) {
        qsizetype j = i + 1;
        while (j < block.size() && block[j] != u'(' && block[j] != u'\\') {
            ++j;
        }
        const QStringView text = block.mid(i + 1, j - i - 1).trimmed();
        STagCommand command;
        qsizetype next = j;
        if (j < block.size() && block[j] == u'(') {
            qsizetype close = block.indexOf(u')', j + 1);
            if (close < 0) {
                close = block.size();
            }
            SplitParams(block.mid(j + 1, close - j - 1), command.params);
            next = close + 1;
        }
        if (!text.isEmpty()) {
            command.name = text.toString();
            for (const SPrefix& prefix : kPrefixes) {
                const QStringView name(prefix.name);
                if (!text.startsWith(name)) {
                    continue;
                }
                if (prefix.split != Split::Whole) {
                    command.name = name.toString();
                    const QStringView rest = text.mid(name.size());
                    command.params.push_back(
                        (prefix.split == Split::RestHex ? TrimAmpersandH(rest) : rest).toString());
                }
                break;
            }
            commands.push_back(std::move(command));
        }
        i = next < block.size() ? block.indexOf(u'\\', next) : -1;
    }
    return commands;
}

int64_t ReadInt(QStringView text, int base)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (base == 16 && i + 1 < text.size() && text[i] == u'0' &&
        (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
    }
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        }
        if (digit < 0) {
            break;
        }
        // Saturates like the C library's conversion.
        value = value > (INT64_MAX - digit) / base ? INT64_MAX : value * base + digit;
    }
    return negative ? -value : value;
}

double ReadReal(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    std::string ascii;
    for (; i < text.size() && text[i].unicode() < 0x80 && ascii.size() < 64; ++i) {
        ascii += static_cast<char>(text[i].unicode());
    }
    const char* begin = ascii.data();
    const char* end = begin + ascii.size();
    bool negative = false;
    if (begin != end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    if (begin != end && (*begin == '+' || *begin == '-')) {
        return 0; // a second sign: no number
    }
    double value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

void ApplyTags(QStringView block, STagState& state)
{
    for (const STagCommand& command : SplitTags(block)) {
        ApplyCommand(command, state);
    }
}

} // namespace quillary::layout
