// Opening a feature-length SubRip script: 2,000 cues, read from a file through the whole format
// detection (the file is written once, in the temporary directory).
#include "scripts/simple_text_subtitle.h"
#include "scripts/text_file.h"

#include "subrip_cue.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using quillary::scripts::CSimpleTextSubtitle;
using quillary::scripts::CTextFile;

QByteArray MakeSubRip(int cues, bool utf8)
{
    QByteArray out;
    if (utf8) {
        out += "\xEF\xBB\xBF";
    }
    for (int i = 0; i < cues; ++i) {
        const int start = 1000 + i * 2500;
        out += quillary::bench::SubRipCueHead(i + 1, start, start + 2000, "\r\n");
        out += utf8 ? "<i>Ça va,</i> dit-elle en haussant les épaules,\r\n"
                    : "<i>Well then,</i> she said, shrugging her shoulders,\r\n";
        out += "et la pluie tombait toujours sur la ville endormie.\r\n\r\n";
    }
    return out;
}

void OpenSubRipFile(benchmark::State& state)
{
    const bool utf8 = state.range(0) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feature.srt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(MakeSubRip(2000, utf8)) < 0) {
            state.SkipWithError("cannot write the script");
            return;
        }
    }
    for (auto _ : state) {
        CSimpleTextSubtitle script;
        if (!script.Open(path, 1) || script.GetCount() != 2000) {
            state.SkipWithError("the script did not open");
            return;
        }
        benchmark::DoNotOptimize(script.entries.data());
    }
    state.SetLabel(utf8 ? "UTF-8 with mark" : "single-byte");
}
BENCHMARK(OpenSubRipFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same text converted to Unicode entry by entry, as layout asks for it.
void GetTextOfEveryEntry(benchmark::State& state)
{
    CTextFile file;
    (void)file.OpenBytes(MakeSubRip(2000, false));
    CSimpleTextSubtitle script;
    if (!script.Open(file, 1)) {
        state.SkipWithError("the script did not open");
        return;
    }
    for (auto _ : state) {
        for (size_t i = 0; i < script.GetCount(); ++i) {
            benchmark::DoNotOptimize(script.GetText(i));
        }
    }
}
BENCHMARK(GetTextOfEveryEntry)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
