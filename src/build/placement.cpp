// Placement of line images on the frame.
#include "build/placement.h"

namespace quillary::build {

namespace {
// The position along the line: centred, at 90 % or at 10 % of the frame's extent.
int AlongLine(int alignment, int frameExtent, int imageExtent)
{
    if (alignment == 1)
        return (frameExtent - imageExtent) / 2;
    if (alignment == 2)
        return static_cast<int>(0.9 * frameExtent) - imageExtent;
    return static_cast<int>(0.1 * frameExtent);
}
} // namespace

SPoint PlaceLineImage(const SPlacementInput& in)
{
    if (in.explicitX != 0 && in.explicitY != 0)
        return {in.explicitX, in.explicitY};

    const bool vertical =
        in.layoutMode != int(LayoutMode::Horizontal) &&
        (in.layoutMode != int(LayoutMode::ByShape) || in.imageHeight >= in.imageWidth);
    SPoint p;
    if (vertical) {
        p.x = in.firstTrack ? in.margin : in.frameWidth - in.imageWidth - in.margin;
        p.y = AlongLine(in.alignment, in.frameHeight, in.imageHeight);
    } else {
        p.y = in.firstTrack ? in.margin : in.frameHeight - in.imageHeight - in.margin;
        p.x = AlongLine(in.alignment, in.frameWidth, in.imageWidth);
    }
    if (in.explicitX != 0)
        p.x = (vertical && !in.firstTrack) ? in.frameWidth - in.explicitX - in.imageWidth
                                           : in.explicitX;
    if (in.explicitY != 0)
        p.y = (vertical || in.firstTrack) ? in.explicitY
                                          : in.frameHeight - in.explicitY - in.imageHeight;
    return p;
}

} // namespace quillary::build
