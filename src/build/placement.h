// Where a line image goes on the video frame.
#pragma once

namespace quillary::build {

enum class LayoutMode : int { Horizontal = 0, Vertical = 1, ByShape = 2 };

struct SPlacementInput {
    int frameWidth = 0;
    int frameHeight = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    bool firstTrack = false;
    int layoutMode = 0; // LayoutMode; other values lay out vertically
    int alignment = 1;  // 1 centred, 2 far side (90 %), anything else near side (10 %)
    int margin = 0;     // pixels from the frame edge
    int explicitX = 0;  // 0 = not given
    int explicitY = 0;
};

struct SPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SPoint&, const SPoint&) = default;
};

// The top-left corner of the image. Horizontal layout puts the first track's lines at the top
// and the other's at the bottom; vertical layout puts them at the left and right edges.
SPoint PlaceLineImage(const SPlacementInput& in);

} // namespace quillary::build
