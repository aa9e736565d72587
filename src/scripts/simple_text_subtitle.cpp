// CSimpleTextSubtitle: format detection, entries and styles.
#include "scripts/simple_text_subtitle.h"

#include "scripts/code_pages.h"
#include "scripts/multibyte_text.h"
#include "scripts/parsers.h"
#include "scripts/web_text_file.h"

#include <array>
#include <set>

namespace quillary::scripts {
namespace {

using ParserFunction = bool (*)(CTextFile&, CSimpleTextSubtitle&, int);

struct SParser {
    ParserFunction open;
    ScriptFormat format;
    int32_t mode;
};

// The order matters: the line-based formats are tried before the header-based ones, and each
// parser rejects a file on its first line that fits none of its cases.
constexpr std::array kParsers{
    SParser{OpenSubRip, ScriptFormat::SubRip, 0},
    SParser{OpenBracketedHours, ScriptFormat::BracketedHours, 0},
    SParser{OpenSubViewer, ScriptFormat::SubViewer, 0},
    SParser{OpenMicroDvd, ScriptFormat::MicroDvd, 1},
    SParser{OpenHoursFirst, ScriptFormat::HoursFirst, 0},
    SParser{OpenSubStationAlpha, ScriptFormat::SubStationAlpha, 0},
    SParser{OpenXss, ScriptFormat::Xss, 0},
};

CSilentMessageSink g_silentSink;

std::string MessageText(const std::string& name, bool isUnicode, int charSet)
{
    const QString wide =
        isUnicode ? Widen(name, true) : DecodeCodePage(CodePageFromCharSet(charSet), name);
    return wide.toStdString();
}

} // namespace

const char* ScriptFormatName(ScriptFormat format)
{
    switch (format) {
    case ScriptFormat::None:
        return "none";
    case ScriptFormat::SubRip:
        return "SubRip";
    case ScriptFormat::BracketedHours:
        return "bracketed hours";
    case ScriptFormat::SubViewer:
        return "SubViewer";
    case ScriptFormat::MicroDvd:
        return "MicroDVD";
    case ScriptFormat::HoursFirst:
        return "hours first";
    case ScriptFormat::SubStationAlpha:
        return "SubStation Alpha";
    case ScriptFormat::Xss:
        return "XSS";
    }
    return "?";
}

std::string ScriptNameFromFileName(const QString& fileName)
{
    QString name = fileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype extension = name.lastIndexOf(QLatin1Char('.'));
    if (extension >= 0) {
        name.truncate(extension);
    }
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
    return name.toStdString();
}

CSimpleTextSubtitle::CSimpleTextSubtitle(IMessageSink* sink) : m_sink(sink ? sink : &g_silentSink)
{
}

bool CSimpleTextSubtitle::Open(const QString& fileName, int charSet, const std::string& scriptName)
{
    Empty();
    CWebTextFile file(CWebTextFile::kDefaultMaxSize);
    if (!file.Open(fileName)) {
        return false;
    }
    QString normalised = fileName;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return Open(file, charSet,
                scriptName.empty() ? ScriptNameFromFileName(normalised) : scriptName);
}

bool CSimpleTextSubtitle::Open(CTextFile& file, int charSet, const std::string& scriptName)
{
    Empty();
    const uint64_t start = file.GetPosition();
    for (const SParser& parser : kParsers) {
        if (parser.open(file, *this, charSet)) {
            name = scriptName.empty() ? ScriptNameFromFileName(file.GetFilePath()) : scriptName;
            mode = parser.mode;
            format = parser.format;
            encoding = file.GetEncoding();
            path = file.GetFilePath().toStdString();

            CWebTextFile styleFile(CWebTextFile::kDefaultMaxSize);
            if (!file.GetFilePath().isEmpty() &&
                styleFile.Open(file.GetFilePath() + QStringLiteral(".style"))) {
                (void)OpenSubStationAlpha(styleFile, *this, charSet);
            }

            usingAutoDefaultStyle = !styles.Contains(kDefaultStyle);
            if (usingAutoDefaultStyle) {
                auto style = std::make_unique<STSStyle>();
                style->charSet = charSet;
                AddStyle(kDefaultStyle, std::move(style));
            }
            ChangeUnknownStylesToDefault(charSet);
            return true;
        }
        if (!entries.empty()) {
            const int line = CountLinesUpTo(file, start, file.GetPosition());
            m_sink->Show("Syntax error at line " + std::to_string(line) + "!\t", MessageKind::Error,
                         MessageButtons::Ok);
            Empty();
            return false;
        }
        file.Seek(start);
        Empty();
    }
    return false;
}

// The number of the last line a parser read: lines from `start` until the position reaches
// `stop`, the first line being line 1.
int CSimpleTextSubtitle::CountLinesUpTo(CTextFile& file, uint64_t start, uint64_t stop)
{
    file.Seek(start);
    int lines = 0;
    QString line;
    while (file.GetPosition() < stop && file.ReadString(line)) {
        ++lines;
    }
    return lines;
}

void CSimpleTextSubtitle::Empty()
{
    entries.clear();
    styles.RemoveAll();
    videoWidth = 0;
    videoHeight = 0;
    frameRate = 0;
    format = ScriptFormat::None;
    embeddedFontFamilies.clear();
}

void CSimpleTextSubtitle::Add(QString text, bool isUnicode, int32_t start, int32_t end,
                              std::string styleName, std::string actor, std::string effect,
                              SMargins margins, int32_t layer, int32_t readOrder)
{
    text = TrimSpace(text);
    if (text.isEmpty() || end < start) {
        return;
    }
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1String("\\N"));
    if (styleName.empty()) {
        styleName = kDefaultStyle;
    }
    styleName.erase(0, styleName.find_first_not_of('*'));
    if (readOrder < 0) {
        readOrder = static_cast<int32_t>(entries.size());
    }
    STSEntry& entry = entries.emplace_back();
    entry.text = std::move(text);
    entry.isUnicode = isUnicode;
    entry.styleName = std::move(styleName);
    entry.actor = std::move(actor);
    entry.effect = std::move(effect);
    entry.margins = margins;
    entry.layer = layer;
    entry.start = start;
    entry.end = end;
    entry.readOrder = readOrder;
}

void CSimpleTextSubtitle::AddStyle(std::string styleName, std::unique_ptr<STSStyle> style)
{
    if (styleName.empty()) {
        styleName = kDefaultStyle;
    }
    const STSStyle* stored = styles.Lookup(styleName);
    if (!stored) {
        styles.SetAt(styleName, std::move(style));
        return;
    }
    if (*stored == *style) {
        return;
    }
    // The stored style moves to the first free numbered name: trailing digits count on
    // (Title9 -> Title10), other names start at 2 (Main -> Main2).
    size_t digits = styleName.size();
    while (digits > 0 && styleName[digits - 1] >= '0' && styleName[digits - 1] <= '9') {
        --digits;
    }
    std::string base = styleName;
    int64_t counter = 2;
    if (digits < styleName.size()) {
        base = styleName.substr(0, digits);
        int64_t value = 0;
        for (size_t i = digits; i < styleName.size(); ++i) {
            value = std::min<int64_t>(value * 10 + (styleName[i] - '0'), int64_t{1} << 40);
        }
        counter = value + 1;
    }
    std::string newName = base + std::to_string(counter);
    while (styles.Contains(newName)) {
        newName = base + std::to_string(++counter);
    }
    styles.SetAt(newName, styles.Take(styleName));
    for (STSEntry& entry : entries) {
        if (entry.styleName == styleName) {
            entry.styleName = newName;
        }
    }
    styles.SetAt(styleName, std::move(style));
}

STSStyle& CSimpleTextSubtitle::CreateDefaultStyle(int charSet)
{
    if (STSStyle* style = styles.Lookup(kDefaultStyle)) {
        usingAutoDefaultStyle = false;
        return *style;
    }
    auto style = std::make_unique<STSStyle>();
    style->charSet = charSet;
    usingAutoDefaultStyle = true;
    return styles.SetAt(kDefaultStyle, std::move(style));
}

void CSimpleTextSubtitle::ChangeUnknownStylesToDefault(int charSet)
{
    std::set<std::string> reported;
    bool warn = true;
    for (STSEntry& entry : entries) {
        if (styles.Contains(entry.styleName)) {
            continue;
        }
        if (warn && !reported.contains(entry.styleName)) {
            const std::string text =
                "Unknown style found: \"" + MessageText(entry.styleName, entry.isUnicode, charSet) +
                "\", changed to \"Default\"!\n\nPress Cancel to ignore further warnings.";
            if (m_sink->Show(text, MessageKind::Warning, MessageButtons::OkCancel) !=
                MessageAnswer::Ok) {
                warn = false;
            }
        }
        reported.insert(entry.styleName);
        entry.styleName = kDefaultStyle;
    }
}

bool CSimpleTextSubtitle::GetStyle(size_t entry, STSStyle& style)
{
    if (entry >= entries.size()) {
        return false;
    }
    const STSStyle* defaultStyle = styles.Lookup(kDefaultStyle);
    const STSStyle* found = styles.Lookup(entries[entry].styleName);
    if (!found) {
        found = defaultStyle ? defaultStyle : &CreateDefaultStyle(1);
    }
    style = *found;
    defaultStyle = styles.Lookup(kDefaultStyle);
    if (style.relativeTo == 2 && defaultStyle) {
        style.relativeTo = defaultStyle->relativeTo;
    }
    return true;
}

int CSimpleTextSubtitle::GetCharSet(size_t entry)
{
    STSStyle style;
    (void)GetStyle(entry, style);
    return style.charSet;
}

QString CSimpleTextSubtitle::GetText(size_t entry)
{
    if (entry >= entries.size()) {
        return {};
    }
    const STSEntry& e = entries[entry];
    if (e.isUnicode) {
        return e.text;
    }
    return MultiByteToUnicode(e.text, GetCharSet(entry));
}

} // namespace quillary::scripts
