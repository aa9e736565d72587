// SLineImage: one rendered and placed line of a track, as the composer receives it.
#pragma once

#include "build/fade_steps.h"

#include <QImage>
#include <QRect>

#include <cstdint>

namespace quillary::build {

struct SLineImage {
    int32_t start = 0; // milliseconds
    int32_t end = 0;
    uint8_t objectVersion = 0;           // counts the times the image has been sent in the epoch
    int32_t objectId = -1;               // assigned by the composer; -1 = never shown
    QImage bitmap;                       // 32-bit ARGB
    QRect rect;                          // placement on the frame
    const SFadeSettings* fade = nullptr; // present when the line is marked as faded
};

} // namespace quillary::build
