// Film benchmark: a feature-length SubRip script (generated: about 1,500 cues of one or two rows,
// as long as the films of the test corpus) built into a 1920 x 1080 .sup with the default style.
// Reports wall time, the time of each stage and peak memory.
//
//   film_bench [CUES] [SCRIPT]     (defaults: 1500 generated cues; or any script given by path)
#include "build/sub_builder.h"
#include "sources/text_sub.h"
#include "subrip_cue.h"
#include "textrender/text_tmp.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

// Cues of one or two rows of about 40 characters, 1 to 4 seconds long, with pauses like a film's.
QByteArray FilmScript(int cues)
{
    static const char* const words[] = {"the",   "night",   "was",   "cold",  "and",   "we",
                                        "had",   "no",      "idea",  "where", "to",    "go",
                                        "so",    "I",       "said",  "let's", "wait",  "here",
                                        "until", "morning", "comes", "don't", "worry", "about"};
    std::mt19937 random(1500);
    auto row = [&] {
        QString text;
        while (text.size() < 30 + int(random() % 15))
            text += QString(words[random() % std::size(words)]) + " ";
        text[0] = text[0].toUpper();
        return text.trimmed();
    };
    QByteArray script;
    int t = 5000;
    for (int i = 0; i < cues; ++i) {
        const int length = 1000 + int(random() % 3000);
        script +=
            quillary::bench::SubRipCueHead(i + 1, t, t + length, "\n") + row().toUtf8() + "\n";
        if (random() % 2)
            script += row().toUtf8() + "\n";
        script += "\n";
        t += length + int(random() % 3) * 1000 + 40;
    }
    return script;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace quillary;
    using Clock = std::chrono::steady_clock;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int cues = argc > 1 ? std::atoi(argv[1]) : 1500;
    QTemporaryDir dir;
    QString script = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath("film.srt");
    if (argc <= 2) {
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly) || file.write(FilmScript(cues)) < 0)
            return 2;
    }

    CSilentMessageSink sink;
    const textrender::CTextTmp style = textrender::CTextTmp::StoreDefaults();
    const auto begin = Clock::now();
    const auto source = sources::OpenSubtitleFile(script, style, sink);
    if (!source)
        return 2;
    source->ValidateTiming();
    const double loadSeconds = std::chrono::duration<double>(Clock::now() - begin).count();

    build::SBuildStatistics statistics;
    build::SBuildOptions options;
    options.outputPath = dir.filePath("film.sup").toStdString();
    options.messages = &sink;
    options.statistics = &statistics;
    build::SBuildTrack tracks[2];
    tracks[1].source = source.get();
    const build::BuildResult result = build::CSubBuilder::Build(options, tracks);
    const double total = std::chrono::duration<double>(Clock::now() - begin).count();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto& times = source->RenderTimes();
    const double stages = loadSeconds + statistics.renderSeconds + statistics.reduceSeconds +
                          statistics.codeSeconds + statistics.writeSeconds;
    std::printf("%zu lines, %d drawn, %d epochs: result %d\n", source->lines.size(),
                statistics.lines, statistics.epochs, int(result));
    std::printf("  wall %.3f s (%.2f ms/line), peak RSS %.1f MiB\n", total,
                total * 1000 / double(source->lines.size()), usage.ru_maxrss / 1024.0);
    std::printf("  load %.3f s, layout %.3f s, drawing %.3f s, colour reduction %.3f s, "
                "coding %.3f s, writing %.3f s, other %.3f s\n",
                loadSeconds, times.layoutSeconds, times.drawSeconds, statistics.reduceSeconds,
                statistics.codeSeconds, statistics.writeSeconds, total - stages);
    return result == build::BuildResult::Written ? 0 : 1;
}
