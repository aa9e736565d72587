// Cutting an epoch's timeline into slices in which the set of visible lines does not change.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillary::build {

struct STimedImage {
    uint32_t start = 0; // milliseconds
    uint32_t end = 0;
};

struct SSlice {
    int image[2] = {-1, -1}; // line image index shown on each track, or -1
    int32_t startFrame = 0;
    int32_t endFrame = 0;

    friend bool operator==(const SSlice&, const SSlice&) = default;
};

// Sweeps both tracks' line images (each in time order) at the stream's decimal rate. Overlaps
// under 2 frames are cut off, starts within 2 frames of each other are joined, and slices of 4
// frames or less are dropped, except a line's lone part before another line joins it.
std::vector<SSlice> SliceTimeline(std::span<const STimedImage> track0,
                                  std::span<const STimedImage> track1, double rate);

} // namespace quillary::build
