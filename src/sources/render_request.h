// SRenderRequest: what a render call is asked for, and what it gives back.
#pragma once

#include <QImage>

#include <cstdint>

namespace quillary::sources {

struct SRenderRequest {
    QImage bitmap;              // out: 32-bit ARGB image of the line; null when it shows nothing
    int32_t frameSizeIndex = 0; // row of the frame size table
    int32_t frameRateIndex = 0; // row of the frame rate table
    bool renderFlag = false;    // anamorphic squeeze of the standard-definition sizes
    int32_t renderValueB = 0;   // extra space between text rows, pixels
    int32_t renderValueA = 0;   // passed through; not used by the sources
    uint8_t sourceBytes[2] = {0, 0}; // [0] set: draw image lines without scaling
    int32_t explicitX = 0;           // out: 0 = the source gives no position
    int32_t explicitY = 0;

    // Clears the outputs before the next call.
    void Reset()
    {
        bitmap = QImage();
        explicitX = 0;
        explicitY = 0;
    }
};

} // namespace quillary::sources
