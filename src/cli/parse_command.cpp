// quillary-cli parse: the script's format, encoding, settings, styles and entries, with the
// entry text converted to Unicode, so a user can see what the program read.
#include "cli/commands.h"

#include "common/message_sink.h"
#include "scripts/code_pages.h"
#include "scripts/simple_text_subtitle.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace quillary::cli {
namespace {

using scripts::CSimpleTextSubtitle;

constexpr const char* kUsage =
    "usage: quillary-cli parse [--codepage NAME] [--charset N] FILE\n"
    "\n"
    "Opens a subtitle script (SubRip, SubStation Alpha, MicroDVD, SubViewer, ...) or an http://\n"
    "address and prints its format, encoding, play resolution, styles and entries.\n"
    "\n"
    "  --codepage NAME  code page of text without a Unicode encoding whose style names no\n"
    "                   character set (default windows-1252); e.g. 1251, cp932, GBK, Big5\n"
    "  --charset N      Windows character set of such text (default 1: the code page above;\n"
    "                   0 ANSI, 128 Shift-JIS, 134 GB2312, 136 Big5, 204 Cyrillic, 238 East "
    "European)\n";

// Messages of the engine go to stderr; warnings are answered OK so that each is seen once.
class CStderrMessageSink final : public IMessageSink {
public:
    MessageAnswer Show(std::string_view text, MessageKind kind, MessageButtons) override
    {
        const char* label = kind == MessageKind::Error     ? "error"
                            : kind == MessageKind::Warning ? "warning"
                                                           : "note";
        std::fprintf(stderr, "quillary-cli parse: %s: %.*s\n", label, static_cast<int>(text.size()),
                     text.data());
        return MessageAnswer::Ok;
    }
};

// Qt's own start-up remarks (a missing XDG_RUNTIME_DIR under the headless platform) are not
// about the script; only its critical messages are shown.
void QtMessageFilter(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "quillary-cli parse: %s\n", message.toLocal8Bit().constData());
    }
}

std::string Utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

std::string FormatTime(int32_t ms)
{
    const int64_t value = ms;
    const int64_t magnitude = value < 0 ? -value : value;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02lld:%02lld.%03lld", value < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 3'600'000),
                  static_cast<long long>(magnitude / 60'000 % 60),
                  static_cast<long long>(magnitude / 1'000 % 60),
                  static_cast<long long>(magnitude % 1'000));
    return buffer;
}

void PrintScript(CSimpleTextSubtitle& script)
{
    std::printf("format: %s\n", scripts::ScriptFormatName(script.format));
    std::printf("encoding: %s\n", scripts::EncodingName(script.encoding));
    std::printf("times: %s\n", script.mode == 1 ? "frame numbers" : "milliseconds");
    std::printf("play resolution: %d x %d\n", script.playResX, script.playResY);
    if (script.videoWidth || script.videoHeight || script.frameRate != 0) {
        std::printf("video: %d x %d at %g fps\n", script.videoWidth, script.videoHeight,
                    static_cast<double>(script.frameRate));
    }
    std::printf("wrap style: %d, collisions: %s, scaled border and shadow: %s\n", script.wrapStyle,
                script.collisions ? "reverse" : "normal",
                script.scaledBorderAndShadow ? "yes" : "no");
    for (const QString& family : script.embeddedFontFamilies) {
        std::printf("embedded font: %s\n", Utf8(family).c_str());
    }

    std::printf("styles: %zu%s\n", script.styles.GetCount(),
                script.usingAutoDefaultStyle ? " (Default added)" : "");
    for (const auto& [styleName, style] : script.styles) {
        std::printf("  %s: font \"%s\" %g, weight %d%s%s%s, colours %06X %06X %06X %06X, alpha "
                    "%02X %02X %02X %02X, outline %g, shadow %g, border style %d, alignment %d, "
                    "margins %d %d %d %d, charset %d\n",
                    styleName.c_str(), style->fontName.c_str(), style->fontSize, style->fontWeight,
                    style->italic ? " italic" : "", style->underline ? " underline" : "",
                    style->strikeOut ? " strike-out" : "", style->colors[0], style->colors[1],
                    style->colors[2], style->colors[3], style->alpha[0], style->alpha[1],
                    style->alpha[2], style->alpha[3], style->outlineWidthX, style->shadowDepthX,
                    style->borderStyle, style->alignment, style->margins.left, style->margins.top,
                    style->margins.right, style->margins.bottom, style->charSet);
    }

    std::printf("entries: %zu\n", script.GetCount());
    for (size_t i = 0; i < script.GetCount(); ++i) {
        const auto& entry = script.entries[i];
        const std::string start =
            script.mode == 1 ? std::to_string(entry.start) : FormatTime(entry.start);
        const std::string end =
            script.mode == 1 ? std::to_string(entry.end) : FormatTime(entry.end);
        std::printf("  %zu: %s --> %s [%s]%s%s %s\n", i + 1, start.c_str(), end.c_str(),
                    entry.styleName.c_str(), entry.effect.empty() ? "" : " effect ",
                    entry.effect.c_str(), Utf8(script.GetText(i)).c_str());
    }
}

} // namespace

int RunParseCommand(int argc, char** argv)
{
    std::optional<std::string> codePage;
    int charSet = 1;
    const char* fileName = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if ((arg == "--codepage" || arg == "--charset") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--codepage") {
                codePage = value;
            } else {
                char* end = nullptr;
                const long number = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end != '\0' || number < 0 || number > 255) {
                    std::fprintf(stderr, "quillary-cli parse: bad character set \"%s\"\n",
                                 value.c_str());
                    return 2;
                }
                charSet = static_cast<int>(number);
            }
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "quillary-cli parse: unknown option \"%s\"\n%s", arg.c_str(),
                         kUsage);
            return 2;
        } else if (!fileName) {
            fileName = argv[i];
        } else {
            std::fprintf(stderr, "quillary-cli parse: more than one FILE\n%s", kUsage);
            return 2;
        }
    }
    if (!fileName) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // Downloads need an event loop and embedded fonts a font database: a headless GUI
    // application serves both.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        qInstallMessageHandler(QtMessageFilter);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int appArgc = 1;
        static char appName[] = "quillary-cli";
        static char* appArgv[] = {appName, nullptr};
        app = std::make_unique<QGuiApplication>(appArgc, appArgv);
    }

    if (codePage && !scripts::SetDefaultAnsiCodePage(*codePage)) {
        std::fprintf(stderr, "quillary-cli parse: unknown code page \"%s\"\n", codePage->c_str());
        return 2;
    }

    const QString path = QString::fromLocal8Bit(fileName);
    const bool download = path.startsWith(QLatin1String("http://"));
    if (!download && !QFileInfo(path).isFile()) {
        std::fprintf(stderr, "quillary-cli parse: %s: no such file\n", fileName);
        return 1;
    }
    CStderrMessageSink sink;
    CSimpleTextSubtitle script(&sink);
    if (!script.Open(path, charSet)) {
        std::fprintf(stderr,
                     download ? "quillary-cli parse: %s: download failed or not a subtitle "
                                "script in a known format\n"
                              : "quillary-cli parse: %s: cannot read it, or not a subtitle "
                                "script in a known format\n",
                     fileName);
        return 1;
    }
    std::printf("file: %s\n", fileName);
    PrintScript(script);
    return 0;
}

} // namespace quillary::cli
