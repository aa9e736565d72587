// The steps of a faded slice: palette updates every 2 frames while fading in and out.
#pragma once

#include <cstdint>
#include <vector>

namespace quillary::build {

// The fade record of the style sheet: percentages of a slice's length.
struct SFadeSettings {
    int32_t enabled = 0; // the fade path is taken only for 1
    int32_t fadeInPercent = 0;
    int32_t fadeOutPercent = 0;
};

struct SFadeStep {
    uint32_t time = 0;          // presentation time, 90 kHz ticks
    bool noComposition = false; // the clearing step: shows nothing
    bool moved = false;         // show the object at (x, y) instead of its own place
    int32_t x = 0;
    int32_t y = 0;
    bool hidden = false;      // show no object
    bool paletteStep = false; // updates the palette only
    uint8_t alpha = 0;        // step alpha for palette steps

    friend bool operator==(const SFadeStep&, const SFadeStep&) = default;
};

// Fade timing of a slice in frames from its start: the fade-in ends at `fadeInEnd`, the
// fade-out starts at `fadeOutStart`, the slice lasts `length` frames.
struct SFadeTiming {
    int32_t fadeInEnd = 0;
    int32_t fadeOutStart = 0;
    int32_t length = 0;
};

// The timing of a slice of `length` frames for the fade percentages; percentages are clamped to
// 0-100 so that the steps always end and stay within the slice.
SFadeTiming FadeTimingOf(const SFadeSettings* settings, int32_t length);

// The steps of the slice [startFrame, endFrame] at the stream's decimal `rate`: fade-in palette
// steps, a hold step that composes the object again, fade-out palette steps, and for the
// epoch's last slice a clearing step at its end.
std::vector<SFadeStep> BuildFadeSteps(double rate, const SFadeTiming& timing, int32_t startFrame,
                                      int32_t endFrame, bool lastSlice);

} // namespace quillary::build
