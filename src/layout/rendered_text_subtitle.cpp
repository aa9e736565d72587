// CRenderedTextSubtitle: the script model with the layout of its entries into lines of word runs,
// cached per entry.
#include "layout/rendered_text_subtitle.h"

#include "layout/my_font.h"
#include "layout/saturate.h"

#include <QByteArray>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string_view>
#include <vector>

namespace quillary::layout {

namespace {

// Scripts alive; the measuring fonts they share are dropped with the last one.
int g_instances = 0;

// Index of the first "{" or "<" at or after `from`; -1 when there is none.
qsizetype IndexOfBlockStart(const QString& text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'{' || text[i] == u'<') {
            return i;
        }
    }
    return -1;
}

// The numbers of "%d;%d;..." at the start of `text`, as far as they match.
std::vector<int32_t> ScanInts(std::string_view text, size_t maxCount)
{
    std::vector<int32_t> values;
    size_t i = 0;
    while (values.size() < maxCount) {
        if (!values.empty()) {
            if (i >= text.size() || text[i] != ';') {
                break;
            }
            ++i;
        }
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        bool negative = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negative = text[i] == '-';
            ++i;
        }
        const size_t digits = i;
        int64_t value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
            ++i;
        }
        if (i == digits) {
            break;
        }
        values.push_back(static_cast<int32_t>(negative ? -value : value));
    }
    return values;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

CRenderedTextSubtitle::CRenderedTextSubtitle(IMessageSink* sink) : CSimpleTextSubtitle(sink)
{
    ++g_instances;
}

CRenderedTextSubtitle::~CRenderedTextSubtitle()
{
    Deinit();
    if (--g_instances == 0) {
        CMyFont::ClearCache();
    }
}

bool CRenderedTextSubtitle::Open(const QString& fileName, int charSet,
                                 const std::string& scriptName)
{
    Deinit();
    const bool opened = CSimpleTextSubtitle::Open(fileName, charSet, scriptName);
    ForgetFontsIfEmbedded();
    return opened;
}

bool CRenderedTextSubtitle::Open(scripts::CTextFile& file, int charSet,
                                 const std::string& scriptName)
{
    Deinit();
    const bool opened = CSimpleTextSubtitle::Open(file, charSet, scriptName);
    ForgetFontsIfEmbedded();
    return opened;
}

void CRenderedTextSubtitle::ForgetFontsIfEmbedded()
{
    // Fonts embedded in the script were just registered: face names that fell back to "Arial"
    // before may now resolve.
    if (!embeddedFontFamilies.empty()) {
        CMyFont::ClearCache();
    }
}

void CRenderedTextSubtitle::Empty()
{
    Deinit();
    CSimpleTextSubtitle::Empty();
}

void CRenderedTextSubtitle::Init(int32_t frameWidth, int32_t frameHeight, int32_t videoLeft,
                                 int32_t videoTop, int32_t videoRight, int32_t videoBottom)
{
    Deinit();
    m_frameSize = {frameWidth * 8, frameHeight * 8};
    m_videoRect = {videoLeft * 8, videoTop * 8, videoRight * 8, videoBottom * 8};
}

void CRenderedTextSubtitle::Deinit()
{
    m_cache.clear();
    m_frameSize = {};
    m_videoRect = {};
}

CSubtitle* CRenderedTextSubtitle::GetSubtitle(size_t entry,
                                              std::unique_ptr<scripts::STSStyle>* style)
{
    if (entry >= entries.size()) {
        return nullptr;
    }
    if (const auto it = m_cache.find(entry); it != m_cache.end()) {
        if (!it->second->animated) {
            return it->second.get();
        }
        m_cache.erase(it);
    }
    try {
        std::unique_ptr<CSubtitle> sub = Build(entry, style);
        CSubtitle* result = sub.get();
        m_cache[entry] = std::move(sub);
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<CSubtitle>
CRenderedTextSubtitle::Build(size_t entry, std::unique_ptr<scripts::STSStyle>* outStyle)
{
    auto sub = std::make_unique<CSubtitle>();
    const scripts::STSEntry& e = entries[entry];
    QString text = GetText(entry);
    scripts::STSStyle style;
    (void)GetStyle(entry, style);
    const scripts::STSStyle eventStyle = style;

    // 1. Event settings from the style and the script; negative alignment: no tag seen yet.
    sub->scrAlignment = -std::max(style.alignment, -INT32_MAX);
    sub->wrapStyle = wrapStyle;
    sub->relativeTo = style.relativeTo;

    // 2. Script pixels to frame pixels (the frame is kept in eighths).
    const bool toVideo = sub->relativeTo == 1;
    const int32_t width = toVideo ? m_videoRect.right - m_videoRect.left : m_frameSize.width;
    const int32_t height = toVideo ? m_videoRect.bottom - m_videoRect.top : m_frameSize.height;
    sub->scaleX = playResX < 1 ? 1.0 : width / (playResX * 8.0);
    sub->scaleY = playResY < 1 ? 1.0 : height / (playResY * 8.0);

    // 3. Parser state of the event.
    m_animation = {};
    m_karaoke = {};
    m_drawingScale = 0;
    m_drawingBaseline = 0;
    ParseEffect(*sub, e.effect);

    // 4. Override blocks change the running style; the text between them becomes words.
    STagState state{style,          eventStyle,        styles,      *sub,      m_karaoke,
                    m_drawingScale, m_drawingBaseline, m_animation, wrapStyle, e.isUnicode};
    bool firstBlock = true;
    while (!text.isEmpty()) {
        QString chunk;
        const qsizetype close = text.startsWith(u'{') ? text.indexOf(u'}', 1) : -1;
        if (close >= 1) {
            ApplyTags(QStringView(text).mid(1, close - 1), state);
            text.remove(0, close + 1);
            if (firstBlock && outStyle && !*outStyle) {
                *outStyle = std::make_unique<scripts::STSStyle>(style);
            }
            firstBlock = false;
            const qsizetype next = IndexOfBlockStart(text, 0);
            if (next == 0) {
                continue;
            }
            chunk = next < 0 ? text : text.left(next);
        } else {
            // A "{" without its "}" is text.
            const qsizetype next = IndexOfBlockStart(text, 1);
            chunk = next < 0 ? text : text.left(next);
        }
        text.remove(0, chunk.size());

        // Sizes for measuring: fonts at 64 times the frame size, borders in eighths.
        scripts::STSStyle scaled = style;
        scaled.fontSize = style.fontSize * sub->scaleY * 64;
        scaled.fontSpacing = style.fontSpacing * sub->scaleX * 64;
        const double borderX = scaledBorderAndShadow ? 8 * sub->scaleX : 8;
        const double borderY = scaledBorderAndShadow ? 8 * sub->scaleY : 8;
        scaled.outlineWidthX = style.outlineWidthX * borderX;
        scaled.shadowDepthX = style.shadowDepthX * borderX;
        scaled.outlineWidthY = style.outlineWidthY * borderY;
        scaled.shadowDepthY = style.shadowDepthY * borderY;
        if (m_drawingScale > 0) {
            ParsePolygon(*sub, chunk, scaled);
        } else {
            ParseString(*sub, std::move(chunk), scaled);
        }
    }

    // 5. An origin with movement animates the event.
    if (sub->origin && (sub->move || sub->banner || sub->scroll)) {
        sub->animated = true;
    }
    sub->scrAlignment = std::abs(sub->scrAlignment);

    // 6. Margins in eighths: the entry's, where 0 the style's.
    const auto pick = [](int32_t own, int32_t fallback) { return own ? own : fallback; };
    const auto eighths = [](int32_t value, double scale) {
        return Saturate<int32_t>(value * scale * 8);
    };
    int32_t left = eighths(pick(e.margins.left, eventStyle.margins.left), sub->scaleX);
    int32_t right = eighths(pick(e.margins.right, eventStyle.margins.right), sub->scaleX);
    if (toVideo) {
        left += m_videoRect.left;
        right += m_frameSize.width - m_videoRect.right;
    }

    // 7. Lines.
    sub->CreateLines(m_frameSize.width, left, right);
    return sub;
}

void CRenderedTextSubtitle::ParseEffect(CSubtitle& sub, const std::string& effect) const
{
    const QByteArray trimmed = QByteArray::fromStdString(effect).trimmed();
    const std::string_view text(trimmed.constData(), static_cast<size_t>(trimmed.size()));
    const size_t semicolon = text.find(';');
    const std::string_view effectName =
        semicolon == std::string_view::npos ? text : text.substr(0, semicolon + 1);
    const std::string_view rest = text.substr(effectName.size());

    if (effectName.size() == 7 && StartsWithIgnoringCase(effectName, "Banner;")) {
        const std::vector<int32_t> v = ScanInts(rest, 3);
        if (!v.empty()) {
            sub.banner = SBannerEffect{v[0], v.size() > 1 && v[1] != 0, v.size() > 2 ? v[2] : 0};
            sub.wrapStyle = 2;
        }
    } else if ((effectName.size() == 10 && StartsWithIgnoringCase(effectName, "Scroll up;")) ||
               (effectName.size() == 12 && StartsWithIgnoringCase(effectName, "Scroll down;"))) {
        const std::vector<int32_t> v = ScanInts(rest, 4);
        if (v.size() >= 3) {
            sub.scroll = SScrollEffect{effectName.size() == 10, std::min(v[0], v[1]),
                                       std::max(v[0], v[1]), v[2], v.size() > 3 ? v[3] : 0};
        }
    }
}

void CRenderedTextSubtitle::ParseString(CSubtitle& sub, QString chunk,
                                        const scripts::STSStyle& style)
{
    chunk.replace(QLatin1String("\\N"), QLatin1String("\n"));
    chunk.replace(QLatin1String("\\n"),
                  sub.wrapStyle == 2 ? QLatin1String("\n") : QLatin1String(" "));
    chunk.replace(QLatin1String("\\h"), QString(QChar(0x00A0)));

    qsizetype j = 0;
    for (qsizetype k = 0; k <= chunk.size(); ++k) {
        const QChar c = k < chunk.size() ? chunk[k] : QChar();
        if (k < chunk.size() && c != u' ' && c != u'\n') {
            continue;
        }
        if (j < k) {
            sub.words.push_back(std::make_unique<CText>(chunk.mid(j, k - j), style, m_karaoke));
            m_karaoke.start = m_karaoke.end;
        }
        if (c == u'\n') {
            sub.words.push_back(std::make_unique<CText>(QString(), style, m_karaoke));
        } else if (c == u' ') {
            sub.words.push_back(std::make_unique<CText>(QStringLiteral(" "), style, m_karaoke));
        }
        j = k + 1;
    }
}

void CRenderedTextSubtitle::ParsePolygon(CSubtitle& sub, const QString& chunk,
                                         const scripts::STSStyle& style)
{
    if (chunk.isEmpty() || m_drawingScale <= 0) {
        return;
    }
    // Level n draws at 1 / 2^(n-1) of the script's pixels.
    const int exponent = 1 - std::min(m_drawingScale, 64);
    sub.words.push_back(
        std::make_unique<CPolygon>(chunk, style, m_karaoke, std::ldexp(sub.scaleX, exponent),
                                   std::ldexp(sub.scaleY, exponent), m_drawingBaseline));
    m_karaoke.start = m_karaoke.end;
}

} // namespace quillary::layout
