// Image lines: where a new one goes, and how its bitmap is made (loading, scaling to the frame,
// cropping to content, keying out the background, smooth enlargement of indexed images).
#pragma once

#include "common/message_sink.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace quillary::sources {

// The position of a newly added w x h image on a W x H frame: top right, 5 % from the edges.
QPoint ImageInsertPosition(int frameWidth, int frameHeight, int imageWidth, int imageHeight);

// What an image line render needs besides the file.
struct SImageRenderInput {
    int frameWidth = 0;
    int frameHeight = 0;
    // The frame size the source's image lines were made for (set by the first render); s =
    // frame width / its width, at most 2.
    QRect reference;
    bool noScaling = false; // draw without the smooth enlargement
};

// Step 3: the image (or the smallest rectangle around what differs from its top-left pixel,
// when `crop`) scaled by `scale` with nearest neighbour, its key colour and pure blues made
// transparent. Null when cropping finds nothing.
QImage ScaleAndKey(const QImage& image, float scale, bool crop);

// Step 4: an indexed image's white (or, on a white background, blue) shape redrawn `scale`
// times larger, white with a black outline, with a 2-pixel margin. Null for a non-indexed image.
QImage SmoothEnlarge(const QImage& image, float scale);

enum class ImageRenderStatus { Rendered, NoBitmap, LoadFailed };

// Loads and renders the image file. On a load failure tells `messages` "<path>\r\nOpen file
// error ! ".
ImageRenderStatus RenderImageFile(const QString& path, const SImageRenderInput& input,
                                  IMessageSink& messages, QImage& bitmap);

} // namespace quillary::sources
