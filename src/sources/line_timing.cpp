// Time normalisation and the timing check.
#include "sources/line_timing.h"

#include <algorithm>

namespace quillary::sources {

namespace {
int32_t Round(double v)
{
    return static_cast<int32_t>(v + 0.5);
}
} // namespace

void NormalizeTimes(std::vector<SSubLine>& lines, double fps)
{
    // 1. Start order, equal starts kept in their order.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const SSubLine& a, const SSubLine& b) { return a.start < b.start; });
    // 2. Open ends run to the next start.
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].end == 0)
            lines[i].end = lines[i + 1].start;
    }
    // 3. In a run of touching lines, every tenth touch of long lines gets a 5-frame pause.
    const int32_t longLine = Round(15000.0 / fps);
    const int32_t pause = Round(5000.0 / fps);
    int touching = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        SSubLine& a = lines[i];
        SSubLine& b = lines[i + 1];
        if (a.end != b.start) {
            touching = 0;
            continue;
        }
        if (++touching < 10)
            continue;
        const int32_t d1 = a.end - a.start;
        const int32_t d2 = b.end - b.start;
        if (d1 > longLine || d2 > longLine) {
            if (d1 > d2)
                a.end -= pause;
            else
                b.start += pause;
            touching = 0;
        }
    }
    // 4. At least 6 frames a line.
    const int32_t shortest = Round(6000.0 / fps);
    for (size_t i = 0; i < lines.size(); ++i) {
        SSubLine& line = lines[i];
        const int32_t startFrame = Round(uint32_t(line.start) * fps / 1000.0);
        const int32_t endFrame = Round(uint32_t(line.end) * fps / 1000.0);
        if (endFrame < startFrame + 6) {
            line.end = line.start + shortest;
            if (i + 1 < lines.size() && lines[i + 1].start < line.end)
                lines[i + 1].start = line.end;
        }
    }
}

bool IsTimingValid(const std::vector<SSubLine>& lines, size_t i)
{
    const SSubLine& line = lines[i];
    if (line.start >= line.end)
        return false;
    return i == 0 || line.start >= lines[i - 1].end;
}

} // namespace quillary::sources
