// quillary-cli build: a subtitle script into a PG stream, as the desktop Build command does it.
#include "cli/commands.h"
#include "cli/stderr_message_sink.h"

#include "build/sub_builder.h"
#include "common/video_format.h"
#include "scripts/code_pages.h"
#include "sources/text_sub.h"
#include "textrender/hatch_patterns.h"
#include "textrender/sheet_settings.h"
#include "textrender/text_tmp.h"

#include <QColor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QString>

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace quillary::cli {

namespace {

constexpr const char* kBuildUsage = R"(usage: quillary-cli build INPUT -o OUTPUT [OPTIONS]

Builds a subtitle script (.srt, .ssa, .ass) into a Blu-ray PG stream: OUTPUT.sup, or OUTPUT.pes
with its index OUTPUT.pes.mui. Every line is drawn with one text style (font, fill, outline,
shadow); SSA/ASS scripts keep their own line breaking and bold/italic/underline/strike-out.

The style and layout values start from the desktop application's saved settings (section "Sup"
of Velmora/Quillary) and the options below override them. --defaults ignores the saved settings,
for reproducible builds.

Video:
  --size WxH|ROW         1920x1080 (0, default), 1440x1080 (1), 1280x720 (2), 720x480 (3),
                         720x576 (4)
  --fps RATE|ROW         23.976 (row 0, default), 24, 25, 29.97, 50, 59.94
  --aspect 16:9|4:3      16:9 (default) squeezes 720x480 and 720x576 lines to 3/4 of their width
                         for anamorphic video; high-definition sizes are always 16:9
Layout:
  --direction D          horizontal (lines at the bottom, default), vertical (at the right side),
                         auto (by the line's shape)
  --alignment A          near, center (default), far: position along the frame edge
  --margin N             pixels from the frame edge for lines of several rows ("Location")
  --single-margin N      the same for single-row lines ("Location2")
  --line-space N         extra pixels between rows
  --top FILE             a second script drawn at the top (or left) edge in its own window,
                         e.g. signs over dialogue
Fades:
  --fade-all             fade every line in and out (lines fade only in epochs with one window)
  --fade-in P            fade-in length in percent of the line's duration (default 25)
  --fade-out P           fade-out length in percent (default 25)
Text style:
  --font NAME            font family; a leading "@" draws vertical text
  --font-size N          size in pixels (the em height)
  --bold, --no-bold, --italic, --no-italic, --underline, --no-underline,
  --strikeout, --no-strikeout
  --color C              text colour (names, #RRGGBB or #AARRGGBB); gradient start, hatch lines
  --color2 C             gradient end, hatch background
  --brush B              solid, hatch, gradient, texture
  --hatch NAME|N         hatch pattern (e.g. Cross, DiagonalCross, 50Percent; 0-52)
  --gradient DIR         horizontal, vertical, forwarddiagonal, backwarddiagonal
  --gradient-rect L,T,R,B  the gradient's start and end points in pixels of the line bitmap
  --texture FILE         image tiled as the text fill
  --outline N            outline width in pixels      --outline-color C
  --shadow N             shadow rim width (0: none)   --shadow-color C
  --shadow-offset X,Y    shadow offset in pixels      --no-shadow
  --row-alignment A      near, center, far: alignment of the rows of a line
  --right-to-left        vertical text: columns from left to right
Other:
  --defaults             ignore the saved settings
  --codepage NAME        code page of scripts without a Unicode encoding (default windows-1252)
  --quiet                no progress bar and no success message
  --help                 this text

Exit status: 0 built, 1 cancelled (Ctrl+C stops at the next line and removes the partial
files), 2 failed. Messages go to stderr.
)";

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted.store(true);
}

struct SOptions {
    QString input;
    QString top;
    QString output;
    int sizeRow = 0;
    int rateRow = 0;
    bool aspect169 = true;
    bool fadeAll = false;
    bool defaults = false;
    bool quiet = false;
    QString codePage;
    std::vector<std::pair<std::string, std::string>> settings; // applied after the store
};

int ParseChoice(const std::string& value, std::initializer_list<const char*> names)
{
    int i = 0;
    for (const char* name : names) {
        if (QString::fromStdString(value).compare(name, Qt::CaseInsensitive) == 0)
            return i;
        ++i;
    }
    return -1;
}

std::optional<int> ParseInt(const std::string& value)
{
    bool ok = false;
    const int n = QString::fromStdString(value).toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

std::optional<QRgb> ParseColour(const std::string& value)
{
    const QString text = QString::fromStdString(value);
    if (text.startsWith("0x", Qt::CaseInsensitive)) {
        bool ok = false;
        const uint argb = text.mid(2).toUInt(&ok, 16);
        return ok ? std::optional<QRgb>(argb) : std::nullopt;
    }
    const QColor colour = QColor::fromString(text);
    return colour.isValid() ? std::optional<QRgb>(colour.rgba()) : std::nullopt;
}

std::optional<std::vector<int>> ParseInts(const std::string& value, size_t count)
{
    std::vector<int> numbers;
    for (const QString& part : QString::fromStdString(value).split(',')) {
        bool ok = false;
        numbers.push_back(part.trimmed().toInt(&ok));
        if (!ok)
            return std::nullopt;
    }
    return numbers.size() == count ? std::optional(numbers) : std::nullopt;
}

// Applies one style or layout option; false with `error` set when its value is not understood.
bool ApplySetting(const std::string& name, const std::string& value, textrender::CTextTmp& tmp,
                  textrender::SSheetSettings& sheet, IMessageSink& messages, std::string& error)
{
    using namespace textrender;
    auto number = [&](int32_t& target, int low, int high) {
        const auto n = ParseInt(value);
        if (!n || *n < low || *n > high)
            return false;
        target = *n;
        return true;
    };
    auto byteValue = [&](uint8_t& target) {
        int32_t n = 0;
        if (!number(n, 0, 255))
            return false;
        target = static_cast<uint8_t>(n);
        return true;
    };
    auto colour = [&](uint32_t& target) {
        const auto c = ParseColour(value);
        if (c)
            target = *c;
        return c.has_value();
    };
    auto flag = [&](uint8_t bit, bool on) {
        tmp.fontStyle = on ? (tmp.fontStyle | bit) : (tmp.fontStyle & ~bit);
        return true;
    };
    bool ok = true;
    if (name == "--direction")
        ok = (sheet.direction = ParseChoice(value, {"horizontal", "vertical", "auto"})) >= 0;
    else if (name == "--alignment")
        ok = (sheet.alignment = ParseChoice(value, {"near", "center", "far"})) >= 0;
    else if (name == "--margin")
        ok = number(sheet.location, 0, 10000);
    else if (name == "--single-margin")
        ok = number(sheet.location2, 0, 10000);
    else if (name == "--line-space")
        ok = number(sheet.lineSpace, -1000, 1000);
    else if (name == "--fade-in")
        ok = number(sheet.fiDuration, 0, 100);
    else if (name == "--fade-out")
        ok = number(sheet.foDuration, 0, 100);
    else if (name == "--font")
        tmp.fontName = QString::fromStdString(value), ok = !value.empty();
    else if (name == "--font-size") {
        int32_t size = 0;
        ok = number(size, 1, 1000);
        tmp.fontSize = static_cast<float>(size);
    } else if (name == "--bold" || name == "--no-bold")
        ok = flag(kFontStyleBold, name == "--bold");
    else if (name == "--italic" || name == "--no-italic")
        ok = flag(kFontStyleItalic, name == "--italic");
    else if (name == "--underline" || name == "--no-underline")
        ok = flag(kFontStyleUnderline, name == "--underline");
    else if (name == "--strikeout" || name == "--no-strikeout")
        ok = flag(kFontStyleStrikeOut, name == "--strikeout");
    else if (name == "--color")
        ok = colour(tmp.textColor);
    else if (name == "--color2")
        ok = colour(tmp.textColor2);
    else if (name == "--brush") {
        const int brush = ParseChoice(value, {"solid", "hatch", "gradient", "texture"});
        ok = brush >= 0;
        tmp.brushType = static_cast<EBrushType>(std::max(brush, 0));
    } else if (name == "--hatch") {
        int style = -1;
        for (size_t i = 0; i < kHatchStyleNames.size(); ++i) {
            if (QString::fromStdString(value).compare(kHatchStyleNames[i], Qt::CaseInsensitive) ==
                0)
                style = static_cast<int>(i);
        }
        if (style < 0) {
            const auto n = ParseInt(value);
            style = n && *n >= 0 && *n < int(kHatchStyleCount) ? *n : -1;
        }
        ok = style >= 0;
        tmp.hatchStyle = static_cast<uint8_t>(std::max(style, 0));
    } else if (name == "--gradient") {
        const int mode =
            ParseChoice(value, {"horizontal", "vertical", "forwarddiagonal", "backwarddiagonal"});
        ok = mode >= 0;
        tmp.lgMode = static_cast<ELgMode>(std::max(mode, 0));
    } else if (name == "--gradient-rect") {
        const auto r = ParseInts(value, 4);
        ok = r.has_value();
        if (ok)
            tmp.SetLgRect({(*r)[0], (*r)[1], (*r)[2], (*r)[3]});
    } else if (name == "--texture") {
        ok = tmp.SetTextureImage(QString::fromStdString(value), messages) ||
             tmp.TextureImage() == QString::fromStdString(value);
        if (ok)
            tmp.brushType = EBrushType::kTexture;
    } else if (name == "--outline")
        ok = byteValue(tmp.outlineThickness);
    else if (name == "--outline-color")
        ok = colour(tmp.outlineColor);
    else if (name == "--shadow") {
        ok = byteValue(tmp.shadowThickness);
        tmp.enableShadow = tmp.shadowThickness != 0;
    } else if (name == "--no-shadow")
        tmp.enableShadow = false;
    else if (name == "--shadow-color")
        ok = colour(tmp.shadowColor);
    else if (name == "--shadow-offset") {
        const auto p = ParseInts(value, 2);
        ok = p.has_value();
        if (ok)
            tmp.SetShadowOffset((*p)[0], (*p)[1]);
    } else if (name == "--row-alignment") {
        const int alignment = ParseChoice(value, {"near", "center", "far"});
        ok = alignment >= 0;
        tmp.lineAlignment = static_cast<ELineAlignment>(std::max(alignment, 0));
    } else if (name == "--right-to-left")
        tmp.leftToRight = false;
    else
        ok = false;
    if (!ok)
        error = value.empty() ? "unknown option " + name : "cannot use '" + value + "' for " + name;
    return ok;
}

// Options that take no value.
bool IsFlag(const std::string& name)
{
    static const char* const flags[] = {
        "--bold",         "--no-bold",   "--italic",       "--no-italic", "--underline",
        "--no-underline", "--strikeout", "--no-strikeout", "--no-shadow", "--right-to-left"};
    for (const char* flag : flags) {
        if (name == flag)
            return true;
    }
    return false;
}

bool IsSetting(const std::string& name)
{
    static const char* const valued[] = {
        "--direction",     "--alignment",     "--margin",        "--single-margin",
        "--line-space",    "--fade-in",       "--fade-out",      "--font",
        "--font-size",     "--color",         "--color2",        "--brush",
        "--hatch",         "--gradient",      "--gradient-rect", "--texture",
        "--outline",       "--outline-color", "--shadow",        "--shadow-color",
        "--shadow-offset", "--row-alignment"};
    for (const char* option : valued) {
        if (name == option)
            return true;
    }
    return IsFlag(name);
}

int ParseSizeRow(const std::string& value)
{
    const auto row = ParseInt(value);
    if (row && *row >= 0 && *row < int(kFrameSizes.size()))
        return *row;
    for (size_t i = 0; i < kFrameSizes.size(); ++i) {
        const std::string name =
            std::to_string(kFrameSizes[i].width) + "x" + std::to_string(kFrameSizes[i].height);
        if (value == name)
            return static_cast<int>(i);
    }
    return -1;
}

int ParseRateRow(const std::string& value)
{
    static const char* const names[] = {"23.976", "24", "25", "29.97", "50", "59.94"};
    for (size_t i = 0; i < std::size(names); ++i) {
        if (value == names[i])
            return static_cast<int>(i);
    }
    const auto row = ParseInt(value);
    // Rows are 0-5; a number that is also a rate (24, 25, 50) was taken above.
    return row && *row >= 0 && *row < 6 ? *row : -1;
}

// A progress bar on stderr while the build runs, when stderr is a terminal.
class CProgressBar {
public:
    explicit CProgressBar(bool enabled) : m_enabled(enabled) {}

    void Show(int percent)
    {
        if (!m_enabled)
            return;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\r  [%.*s%*s] %3d%%", filled,
                     "########################################", kWidth - filled, "", percent);
        std::fflush(stderr);
        m_shown = true;
    }
    void Clear()
    {
        if (m_enabled && m_shown) {
            std::fprintf(stderr, "\r%*s\r", 52, "");
            std::fflush(stderr);
        }
        m_shown = false;
    }

private:
    bool m_enabled;
    bool m_shown = false;
};

bool EndsWith(const QString& path, const char* extension)
{
    return QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) == 0;
}

int Fail(const std::string& text)
{
    std::fprintf(stderr, "quillary-cli: %s\n", text.c_str());
    return 2;
}

} // namespace

int RunBuildCommand(int argc, char** argv)
{
    SOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kBuildUsage, stdout);
            return 0;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(v))
                return Fail("-o needs a file name");
            options.output = QString::fromStdString(v);
        } else if (arg == "--top") {
            if (!value(v))
                return Fail("--top needs a file name");
            options.top = QString::fromStdString(v);
        } else if (arg == "--size") {
            if (!value(v) || (options.sizeRow = ParseSizeRow(v)) < 0)
                return Fail("--size takes 1920x1080, 1440x1080, 1280x720, 720x480, 720x576 or 0-4");
        } else if (arg == "--fps") {
            if (!value(v) || (options.rateRow = ParseRateRow(v)) < 0)
                return Fail("--fps takes 23.976, 24, 25, 29.97, 50, 59.94 or a row 0-5");
        } else if (arg == "--aspect") {
            if (!value(v) || (v != "16:9" && v != "4:3"))
                return Fail("--aspect takes 16:9 or 4:3");
            options.aspect169 = v == "16:9";
        } else if (arg == "--codepage") {
            if (!value(v))
                return Fail("--codepage needs a code page name");
            options.codePage = QString::fromStdString(v);
        } else if (arg == "--fade-all") {
            options.fadeAll = true;
        } else if (arg == "--defaults") {
            options.defaults = true;
        } else if (arg == "--quiet" || arg == "-q") {
            options.quiet = true;
        } else if (IsSetting(arg)) {
            if (!IsFlag(arg) && !value(v))
                return Fail(arg + " needs a value");
            options.settings.emplace_back(arg, IsFlag(arg) ? std::string() : v);
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg + " (see quillary-cli build --help)");
        } else if (options.input.isEmpty()) {
            options.input = QString::fromStdString(arg);
        } else {
            return Fail("more than one input script: " + arg);
        }
    }
    if (options.input.isEmpty() || options.output.isEmpty()) {
        std::fputs(kBuildUsage, stderr);
        return 2;
    }
    int outputKind = 0;
    if (EndsWith(options.output, "pes"))
        outputKind = 2;
    else if (EndsWith(options.output, "xml"))
        return Fail("Output format is not supported!");
    else if (!EndsWith(options.output, "sup"))
        return Fail("the output must be a .sup or .pes file");

    if (QGuiApplication::instance() == nullptr && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    std::optional<QGuiApplication> app;
    if (QGuiApplication::instance() == nullptr)
        app.emplace(qtArgc, qtArgv);

    CStderrMessageSink messages;
    CProgressBar bar(!options.quiet && isatty(STDERR_FILENO));
    messages.beforeMessage = [&] { bar.Clear(); };
    if (!options.codePage.isEmpty() &&
        !scripts::SetDefaultAnsiCodePage(options.codePage.toStdString()))
        return Fail("unknown code page " + options.codePage.toStdString());

    // The style: the saved settings (or their defaults), then the options.
    textrender::CTextTmp tmp = textrender::CTextTmp::StoreDefaults();
    textrender::SSheetSettings sheet;
    if (!options.defaults) {
        QSettings store("Velmora", "Quillary");
        tmp.LoadFromSettings(store, messages);
        sheet.LoadFromSettings(store);
    }
    for (const auto& [name, value] : options.settings) {
        std::string error;
        if (!ApplySetting(name, value, tmp, sheet, messages, error))
            return Fail(error);
    }
    // High-definition frames are always 16:9.
    const bool renderFlag = options.sizeRow < 3 ? true : options.aspect169;

    // The scripts.
    std::unique_ptr<sources::CTextSub> bottom =
        sources::OpenSubtitleFile(options.input, tmp, messages);
    if (!bottom)
        return 2;
    std::unique_ptr<sources::CTextSub> top;
    if (!options.top.isEmpty()) {
        top = sources::OpenSubtitleFile(options.top, tmp, messages);
        if (!top)
            return 2;
    }
    for (sources::CTextSub* source : {bottom.get(), top.get()}) {
        if (source == nullptr)
            continue;
        if (options.fadeAll) {
            for (sources::SSubLine& line : source->lines)
                line.faded = true;
        }
        const int invalid = source->ValidateTiming();
        if (invalid > 0) {
            for (size_t i = 0; i < source->lines.size(); ++i) {
                if (!source->lines[i].timingValid) {
                    messages.Show("line " + std::to_string(i + 1) + " has invalid timing (" +
                                      std::to_string(source->lines[i].start) + " ms to " +
                                      std::to_string(source->lines[i].end) +
                                      " ms): it ends before it starts or overlaps the line "
                                      "before it",
                                  MessageKind::Error, MessageButtons::Ok);
                    break;
                }
            }
            return Fail(std::to_string(invalid) + " line(s) of " +
                        (source == top.get() ? options.top : options.input).toStdString() +
                        " have invalid timing; nothing was built. A track shows one line at a "
                        "time: correct the times, or put lines that overlap the dialogue "
                        "(signs) in a second script given with --top");
        }
    }

    // The build, as the desktop Build command fills it in.
    build::SBuildOptions build;
    build.outputPath = options.output.toStdString();
    build.frameSizeIndex = options.sizeRow;
    build.frameRateIndex = options.rateRow;
    build.renderFlag = renderFlag;
    build.outputKind = outputKind;
    build.layoutMode = sheet.direction;
    build.fade = {1, sheet.fiDuration, sheet.foDuration};
    build.messages = &messages;
    build::SBuildTrack tracks[2];
    tracks[0].source = top.get();
    tracks[1].source = bottom.get();
    tracks[1].direction = sheet.direction;
    tracks[1].alignment = sheet.alignment;
    tracks[1].margin = sheet.location;
    tracks[1].singleRowMargin = sheet.location2;
    tracks[1].renderValueB = sheet.lineSpace;
    tracks[1].spareValue = sheet.language;
    if (top) {
        tracks[0] = tracks[1];
        tracks[0].source = top.get();
    }

    g_interrupted.store(false);
    auto previous = std::signal(SIGINT, OnInterrupt);
    build.progress = [&](const build::SProgressInfo& info) {
        if (info.command == build::SProgressInfo::SetPosition)
            bar.Show(info.position);
        return !g_interrupted.load();
    };
    const build::BuildResult result = build::CSubBuilder::Build(build, tracks);
    std::signal(SIGINT, previous);
    bar.Clear();

    switch (result) {
    case build::BuildResult::Written:
        if (!options.quiet)
            std::printf("%s\nwas bulit sucessfully!\n", build.outputPath.c_str());
        return 0;
    case build::BuildResult::Cancelled:
        std::fprintf(stderr, "quillary-cli: cancelled; %s was removed\n", build.outputPath.c_str());
        return 1;
    case build::BuildResult::Failed:
        break;
    }
    std::fprintf(stderr, "quillary-cli: %s was not built\n", build.outputPath.c_str());
    return 2;
}

} // namespace quillary::cli
