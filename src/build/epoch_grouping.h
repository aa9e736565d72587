// Grouping the lines of two tracks into epochs at gaps that both tracks share.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillary::build {

struct SLineTimes {
    int32_t start = 0; // milliseconds
    int32_t end = 0;
};

// The lines of one epoch: per track the index range [first, last]; last < first when the track
// has no line in the epoch.
struct SEpochLines {
    int first[2] = {0, 0};
    int last[2] = {-1, -1};

    bool HasLines(int track) const { return last[track] >= first[track]; }
    friend bool operator==(const SEpochLines&, const SEpochLines&) = default;
};

// Splits the lines (each track in start order; a track may be empty) into epochs. A track's
// gaps are the time before its first line (when it starts at frame 3 or later), every pause of
// more than 2 frames between lines, and the time after its last line; an epoch ends where
// gaps of both tracks overlap by more than 2 frames.
std::vector<SEpochLines> GroupIntoEpochs(std::span<const SLineTimes> track0,
                                         std::span<const SLineTimes> track1, double fps);

} // namespace quillary::build
