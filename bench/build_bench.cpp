// Build benchmark: a source of image-like lines (900 x 120 anti-aliased text with an outline,
// two lines an epoch) built into a 1920 x 1080 .sup. Reports wall time and peak memory.
//
//   build_bench [LINES] [OUTPUT]     (defaults: 2000 lines, a temporary file)
#include "build/sub_builder.h"
#include "sources/sub_base.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace quillary;

// Renders lines from a small pool of pre-drawn pictures, as a text source would hand them out.
class CPictureSource final : public sources::CSubBase {
public:
    CPictureSource(IMessageSink& messages, int count) : CSubBase(messages)
    {
        for (int i = 0; i < 8; ++i)
            m_pictures.push_back(Draw(i));
        // Pairs of lines one frame apart, one second between pairs: two lines an epoch.
        int32_t t = 1000;
        for (int i = 0; i < count; ++i) {
            sources::SSubLine line;
            line.source = this;
            line.start = t;
            line.end = t + 2000;
            lines_.push_back(line);
            t += i % 2 == 0 ? 2040 : 3000;
        }
        this->lines = lines_;
    }

    bool Load(const QString&) override { return false; }
    bool Render(int lineIndex, sources::SRenderRequest& request) override
    {
        request.bitmap = m_pictures[size_t(lineIndex) % m_pictures.size()];
        return true;
    }

private:
    static QImage Draw(int variant)
    {
        QImage image(900, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font("DejaVu Sans");
        font.setPixelSize(64);
        QPainterPath path;
        const char* texts[] = {"The quick brown fox jumps", "over the lazy dog again",
                               "Subtitles in every colour", "Presentation graphics!"};
        path.addText(20, 88, font, texts[variant % 4]);
        painter.strokePath(path,
                           QPen(QColor(0, 0, 0), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, variant % 2 ? QColor(255, 255, 255) : QColor(255, 230, 40));
        painter.end();
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    std::vector<QImage> m_pictures;
    std::vector<sources::SSubLine> lines_;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 2000;
    QTemporaryDir dir;
    const std::string output = argc > 2 ? argv[2] : dir.filePath("bench.sup").toStdString();

    CSilentMessageSink sink;
    CPictureSource source(sink, lines);
    build::SBuildTrack tracks[2];
    tracks[1].source = &source;
    build::SBuildOptions options;
    options.outputPath = output;
    options.frameSizeIndex = 0;
    options.frameRateIndex = 0;
    options.messages = &sink;

    const auto begin = std::chrono::steady_clock::now();
    const build::BuildResult result = build::CSubBuilder::Build(options, tracks);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("lines %d (900x120, 2 per epoch, 1920x1080): result %d, %.2f s, %.2f ms/line, "
                "peak RSS %.1f MiB\n",
                lines, int(result), seconds, seconds * 1000 / lines, usage.ru_maxrss / 1024.0);
    return result == build::BuildResult::Written ? 0 : 1;
}
