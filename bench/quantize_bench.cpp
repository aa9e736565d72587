// Colour reduction of two full-HD bitmaps (anti-aliased outlined text, a noisy photo-like
// picture), and ImageMagick's `convert -dither FloydSteinberg -colors 255` on the same images
// as a peer. Every benchmark reports ns_per_px: wall time per pixel in nanoseconds.
#include "imaging/bitmap.h"
#include "imaging/quantize.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unordered_set>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Six lines of subtitle-sized text, solid fill and dark outline, on a transparent background:
// the anti-aliased edges (fill over outline, outline over nothing) give a few hundred colours.
QImage TextImage()
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(96);
    font.setBold(true);
    const char* lines[] = {"Where the river bends, we wait",     "for the lanterns of the north.",
                           "\"Quiet,\" she said. \"Listen...\"", "Number 42, Quillary Street",
                           "The quick brown fox jumps over",     "the lazy dog: 1, 2, 3, 4, 5!"};
    int y = 140;
    for (const char* line : lines) {
        QPainterPath path;
        path.addText(80, y, font, QString::fromUtf8(line));
        painter.strokePath(path,
                           QPen(QColor(20, 20, 60), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, QColor(250, 235, 120));
        y += 165;
    }
    return image;
}

// Smooth colour fields and ripples with per-pixel noise, opaque: thousands of colours.
QImage PhotoImage()
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 12.0);
    const auto clamp = [](double v) { return std::clamp(int(v), 0, 255); };
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const double u = double(x) / kWidth, v = double(y) / kHeight;
            const double ripple = 40.0 * std::sin(x * 0.013 + 3.0 * std::sin(y * 0.007));
            row[x] = qRgb(clamp(60 + 150 * u + ripple + noise(rng)),
                          clamp(90 + 100 * v * (1 - u) + 0.5 * ripple + noise(rng)),
                          clamp(170 - 120 * v + 60 * u * v + noise(rng)));
        }
    }
    return image;
}

size_t DistinctColours(const QImage& image)
{
    std::unordered_set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        colours.insert(row, row + image.width());
    }
    return colours.size();
}

struct SInputs {
    QImage text = TextImage();
    QImage photo = PhotoImage();
    size_t textColours = DistinctColours(text);
    size_t photoColours = DistinctColours(photo);
    QTemporaryDir dir;
    QString textPng = dir.filePath("text.png");
    QString photoPng = dir.filePath("photo.png");
};

SInputs* g_inputs = nullptr;

void ReportPerPixel(benchmark::State& state, double seconds)
{
    const double pixels = double(kWidth) * kHeight * double(state.iterations());
    state.counters["ns_per_px"] = seconds * 1e9 / pixels;
}

void Quantize(benchmark::State& state, const QImage& image, size_t colours)
{
    double seconds = 0;
    state.counters["colours_in"] = double(colours);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QImage indexed;
        uint8_t transparent = 0;
        auto palette = quillary::imaging::QuantizeBitmap(image, &indexed, &transparent);
        benchmark::DoNotOptimize(palette);
        benchmark::DoNotOptimize(indexed);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        if (!palette)
            state.SkipWithError("reduction failed");
    }
    ReportPerPixel(state, seconds);
}

// The same work as the `convert` command line: decode the PNG, reduce, encode an indexed PNG.
void QuantizeWithPngIo(benchmark::State& state, const QString& png)
{
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QImage image = quillary::imaging::LoadBitmap(png);
        QImage indexed;
        const auto palette = quillary::imaging::QuantizeBitmap(image, &indexed, nullptr);
        const bool saved = palette && indexed.save(png + ".quillary.png");
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        if (!saved)
            state.SkipWithError("reduction or PNG writing failed");
    }
    ReportPerPixel(state, seconds);
}

std::string ConvertCommand()
{
    if (const char* override = std::getenv("QUILLARY_CONVERT"))
        return override;
    return QFile::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
}

void ImageMagick(benchmark::State& state, const QString& png)
{
    const std::string command = ConvertCommand() + " '" + png.toStdString() +
                                "' -dither FloydSteinberg -colors 255 '" + png.toStdString() +
                                ".out.png'";
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        if (status != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            break;
        }
    }
    ReportPerPixel(state, seconds);
}

void BM_QuantizeText(benchmark::State& state)
{
    Quantize(state, g_inputs->text, g_inputs->textColours);
}
void BM_QuantizePhoto(benchmark::State& state)
{
    Quantize(state, g_inputs->photo, g_inputs->photoColours);
}
void BM_QuantizeTextWithPngIo(benchmark::State& state)
{
    QuantizeWithPngIo(state, g_inputs->textPng);
}
void BM_QuantizePhotoWithPngIo(benchmark::State& state)
{
    QuantizeWithPngIo(state, g_inputs->photoPng);
}
void BM_ImageMagickText(benchmark::State& state)
{
    ImageMagick(state, g_inputs->textPng);
}
void BM_ImageMagickPhoto(benchmark::State& state)
{
    ImageMagick(state, g_inputs->photoPng);
}

BENCHMARK(BM_QuantizeText)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_QuantizePhoto)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_QuantizeTextWithPngIo)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_QuantizePhotoWithPngIo)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImageMagickText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImageMagickPhoto)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    // Text needs the font machinery of a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    SInputs inputs;
    if (!inputs.dir.isValid() || !inputs.text.save(inputs.textPng) ||
        !inputs.photo.save(inputs.photoPng)) {
        std::fprintf(stderr, "quantize_bench: cannot write the input images\n");
        return 1;
    }
    g_inputs = &inputs;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
