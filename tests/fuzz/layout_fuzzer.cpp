// Fuzz target: arbitrary bytes laid out as one event of a script. The first line is the entry's
// effect, the rest its text (UTF-8). Checks the invariants of the lines after layout, and that
// the cache gives the same event again unless it is animated.
#include "layout/rendered_text_subtitle.h"
#include "layout/text_rows.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using quillary::layout::CLine;
using quillary::layout::CRenderedTextSubtitle;
using quillary::layout::CSubtitle;

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckLine(const CLine& line)
{
    int64_t width = 0;
    for (size_t i = 0; i < line.words.size(); ++i) {
        const auto& run = line.words[i];
        Require(!run->isLineBreak);
        width += run->width;
        if (i > 0) {
            // Runs are maximal: a run never joins the one before it.
            Require(!line.words[i - 1]->Copy()->Append(*run));
        }
    }
    if (!line.words.empty()) {
        Require(!line.words.front()->isWhiteSpace && !line.words.back()->isWhiteSpace);
    }
    if (width >= INT32_MIN && width <= INT32_MAX) {
        Require(line.width == width);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Fonts need a (headless) QGuiApplication. One per input: torn down at exit instead, it would
    // leak the font engines Qt keeps per thread.
    int argc = 1;
    char name[] = "layout_fuzzer";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype newline = bytes.indexOf('\n');
    const QByteArray effect = newline < 0 ? QByteArray() : bytes.left(newline);
    const QByteArray text = newline < 0 ? bytes : bytes.mid(newline + 1);

    CRenderedTextSubtitle script;
    script.CreateDefaultStyle(1);
    script.playResX = 640;
    script.playResY = 360;
    script.Add(QString::fromUtf8(text), true, 0, 1000, "Default", {}, effect.toStdString());
    script.Init(1280, 720, 0, 0, 1280, 720);
    if (script.GetCount() == 0) {
        return 0;
    }
    std::unique_ptr<quillary::scripts::STSStyle> style;
    CSubtitle* sub = script.GetSubtitle(0, &style);
    Require(sub != nullptr);
    Require(sub->scrAlignment >= 0);
    for (const CLine& line : sub->lines) {
        CheckLine(line);
    }
    Require(quillary::layout::RowsOf(*sub).size() == sub->lines.size());
    const bool animated = sub->animated;
    Require((script.GetSubtitle(0) == sub) || animated);
    return 0;
}
