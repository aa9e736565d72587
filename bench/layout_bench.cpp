// Layout of a feature-length SubRip script: 1,500 cues of one or two rows of about 40 characters,
// every entry laid out into rows of runs at 1920x1080, as the text source does before rendering.
#include "layout/rendered_text_subtitle.h"
#include "layout/text_rows.h"
#include "scripts/text_file.h"

#include "subrip_cue.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <array>

namespace {

using quillary::layout::CRenderedTextSubtitle;

constexpr int kCues = 1500;

QByteArray MakeSubRip(int cues)
{
    static constexpr std::array<const char*, 6> kRows{
        "I never thought we'd make it this far.",
        "<i>Well then,</i> she said, shrugging her shoulders,",
        "and the rain kept falling on the sleeping town.",
        "Don't look back. Whatever happens, keep going!",
        "\xC3\x87"
        "a va, dit-elle en haussant les \xC3\xA9paules.",
        "<b>Forty-two</b> is the answer, or so they say.",
    };
    QByteArray out;
    for (int i = 0; i < cues; ++i) {
        const int start = 1000 + i * 2500;
        out += quillary::bench::SubRipCueHead(i + 1, start, start + 2000, "\r\n");
        out += QByteArray(kRows[static_cast<size_t>(i) % kRows.size()]) + "\r\n";
        if (i % 3 != 0) {
            out += QByteArray(kRows[static_cast<size_t>(i + 2) % kRows.size()]) + "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

// One iteration is one film: the cache is dropped, then every entry is laid out and turned into
// rows.
void LayoutFilm(benchmark::State& state)
{
    quillary::scripts::CTextFile file;
    CRenderedTextSubtitle script;
    if (!file.OpenBytes("\xEF\xBB\xBF" + MakeSubRip(kCues)) || !script.Open(file, 1) ||
        script.GetCount() != kCues) {
        state.SkipWithError("the script did not open");
        return;
    }
    // As the text source sets up a SubRip script.
    script.playResX = 1920;
    script.playResY = 1080;
    size_t rows = 0;
    for (auto _ : state) {
        script.Init(1920, 1080, 0, 0, 1920, 1080);
        for (size_t i = 0; i < script.GetCount(); ++i) {
            const auto* sub = script.GetSubtitle(i);
            rows += sub ? quillary::layout::RowsOf(*sub).size() : 0;
        }
    }
    benchmark::DoNotOptimize(rows);
    state.counters["cues"] = kCues;
}
BENCHMARK(LayoutFilm)->Unit(benchmark::kMillisecond);

} // namespace

// Fonts need a (headless) QGuiApplication.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
