// Text renderer benchmark: 1,500 typical subtitle lines (one or two rows of about 40
// characters, the template's defaults: Arial 59 bold, white fill, outline 4, shadow 3 at (2, 2))
// rendered into line bitmaps. Reports ms_per_line and the whole film's time, from a cold glyph
// cache (as a build starts) and with a warm one (as the preview runs).
//
//   render_bench [--benchmark_...]
#include "textrender/text_render.h"

#include <QGuiApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using namespace quillary::textrender;

constexpr int kLines = 1500;

// Rows of whole words up to about 40 characters from a fixed vocabulary; a tenth of the lines
// has an italic word, a run of its own as the layout would make it.
std::vector<std::vector<STextRow>> Film()
{
    static constexpr std::array<const char*, 48> kWords = {
        "I",     "you",    "we",      "the",      "a",     "to",    "and",    "what",
        "is",    "it",     "don't",   "know",     "that",  "there", "here",   "going",
        "never", "always", "tonight", "tomorrow", "Sarah", "John",  "please", "wait",
        "come",  "back",   "home",    "right",    "now",   "told",  "think",  "really",
        "maybe", "should", "could",   "would",    "again", "sorry", "thank",  "house",
        "car",   "money",  "nothing", "Where?",   "Okay.", "Yes,",  "No,",    "Hey!"};
    std::mt19937 random(1500);
    std::uniform_int_distribution<size_t> word(0, kWords.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    auto makeRow = [&](bool italicWord) {
        STextRow row;
        QString text;
        int words = 0;
        while (text.size() < 36) {
            if (!text.isEmpty()) {
                text += ' ';
            }
            text += kWords[word(random)];
            ++words;
            if (italicWord && words == 3) {
                row.push_back({text + ' ', 700});
                row.push_back({kWords[word(random)], 700, true});
                text = " ";
            }
        }
        row.push_back({text, 700});
        return row;
    };
    std::vector<std::vector<STextRow>> film;
    for (int i = 0; i < kLines; ++i) {
        std::vector<STextRow> rows{makeRow(percent(random) < 10)};
        if (percent(random) < 60) {
            rows.push_back(makeRow(false));
        }
        film.push_back(std::move(rows));
    }
    return film;
}

CTextTmp Template()
{
    CTextTmp tmp; // Arial 59 bold, outline 4, shadow 3 at (2, 2)
    return tmp;
}

// The whole film from an empty cache, as a build renders it.
void BM_RenderFilmColdCache(benchmark::State& state)
{
    const auto film = Film();
    const CTextTmp tmp = Template();
    int64_t pixels = 0;
    size_t maskBytes = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CGlyphCache cache;
        for (const auto& rows : film) {
            const QImage image = RenderEntry(rows, tmp, 0, cache);
            pixels += int64_t(image.width()) * image.height();
        }
        maskBytes = cache.MaskBytes();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double lines = double(state.iterations()) * kLines;
    state.counters["ms_per_line"] = seconds * 1000.0 / lines;
    state.counters["px_per_line"] = double(pixels) / lines;
    state.counters["cache_MB"] = double(maskBytes) / (1 << 20);
}
BENCHMARK(BM_RenderFilmColdCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One line at a time with every glyph already cached.
void BM_RenderLineWarmCache(benchmark::State& state)
{
    const auto film = Film();
    const CTextTmp tmp = Template();
    CGlyphCache cache;
    for (const auto& rows : film) {
        (void)RenderEntry(rows, tmp, 0, cache);
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderEntry(film[i], tmp, 0, cache));
        i = (i + 1) % film.size();
    }
}
BENCHMARK(BM_RenderLineWarmCache)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
