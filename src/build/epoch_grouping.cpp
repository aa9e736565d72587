// Epoch grouping:
//   1. list each track's gaps, labelled with the index of the line before them (-1 for the
//      leading gap);
//   2. merge the two lists into boundaries at gaps that overlap by more than 2 frames;
//   3. turn the boundaries into line ranges.
#include "build/epoch_grouping.h"

#include "build/frame_clock.h"

#include <algorithm>
#include <limits>

namespace quillary::build {

namespace {

struct SGap {
    int label;
    int64_t start; // frames
    int64_t end;
};

constexpr int64_t kEndless = std::numeric_limits<int64_t>::max();

std::vector<SGap> ListGaps(std::span<const SLineTimes> lines, double fps)
{
    std::vector<SGap> gaps;
    if (lines.empty())
        return gaps;
    auto frames = [fps](int32_t ms) { return FrameOfMs(static_cast<uint32_t>(ms), fps); };
    const int64_t firstStart = frames(lines[0].start);
    if (firstStart >= 3)
        gaps.push_back({-1, 0, firstStart});
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const int64_t end = frames(lines[i].end);
        const int64_t nextStart = frames(lines[i + 1].start);
        if (end + 2 < nextStart)
            gaps.push_back({static_cast<int>(i), end, nextStart});
    }
    gaps.push_back({static_cast<int>(lines.size()) - 1, frames(lines.back().end), kEndless});
    return gaps;
}

struct SBoundary {
    int label[2];
};

class CBoundaryList {
public:
    // Records a boundary; a label repeating the track's label of the previous boundary means
    // the track did not move on and becomes -1; a boundary left with two -1 is dropped.
    void Record(int label0, int label1)
    {
        int labels[2] = {label0, label1};
        for (int t = 0; t < 2; ++t) {
            const int original = labels[t];
            if (labels[t] == m_previous[t])
                labels[t] = -1;
            m_previous[t] = original;
        }
        if (labels[0] != -1 || labels[1] != -1)
            m_boundaries.push_back({{labels[0], labels[1]}});
    }
    const std::vector<SBoundary>& Boundaries() const { return m_boundaries; }

private:
    int m_previous[2] = {-2, -2};
    std::vector<SBoundary> m_boundaries;
};

} // namespace

std::vector<SEpochLines> GroupIntoEpochs(std::span<const SLineTimes> track0,
                                         std::span<const SLineTimes> track1, double fps)
{
    const std::vector<SGap> gaps[2] = {ListGaps(track0, fps), ListGaps(track1, fps)};

    CBoundaryList boundaries;
    size_t i = 0, j = 0;
    while (i < gaps[0].size() && j < gaps[1].size()) {
        const SGap& a = gaps[0][i];
        const SGap& b = gaps[1][j];
        const int64_t overlap = std::min(a.end, b.end) - std::max(a.start, b.start);
        if (overlap > 2) {
            boundaries.Record(a.label, b.label);
            if (a.end < b.end)
                ++i;
            else
                ++j;
        } else if (a.start < b.start) {
            ++i;
        } else {
            ++j;
        }
    }
    for (; i < gaps[0].size(); ++i)
        boundaries.Record(gaps[0][i].label, -1);
    for (; j < gaps[1].size(); ++j)
        boundaries.Record(-1, gaps[1][j].label);

    std::vector<SEpochLines> epochs;
    int nextFirst[2] = {0, 0};
    for (const SBoundary& boundary : boundaries.Boundaries()) {
        SEpochLines epoch;
        for (int t = 0; t < 2; ++t) {
            epoch.first[t] = nextFirst[t];
            epoch.last[t] = nextFirst[t] - 1;
            const int label = boundary.label[t];
            if (label != -1 && label >= nextFirst[t]) {
                epoch.last[t] = label;
                nextFirst[t] = label + 1;
            }
        }
        if (epoch.HasLines(0) || epoch.HasLines(1))
            epochs.push_back(epoch);
    }
    return epochs;
}

} // namespace quillary::build
