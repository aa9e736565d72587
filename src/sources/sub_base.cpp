// CSubBase: line kinds, timing checks and image lines.
#include "sources/sub_base.h"

#include "common/video_format.h"
#include "sources/image_line.h"
#include "sources/line_timing.h"

namespace quillary::sources {

int CSubBase::LineKind(int) const
{
    return 2;
}

bool CSubBase::Render(int lineIndex, SRenderRequest& request)
{
    request.bitmap = QImage();
    if (lineIndex < 0 || size_t(lineIndex) >= lines.size())
        return false;
    const SSubLine& line = lines[size_t(lineIndex)];
    if (!line.IsImageLine())
        return false;

    const SFrameSize frame = FrameSizeOfRow(request.frameSizeIndex);
    if (m_imageReference.isEmpty())
        m_imageReference = QRect(0, 0, frame.width, frame.height);
    SImageRenderInput input;
    input.frameWidth = frame.width;
    input.frameHeight = frame.height;
    input.reference = m_imageReference;
    input.noScaling = request.sourceBytes[0] != 0;
    const ImageRenderStatus status =
        RenderImageFile(line.imagePath, input, *m_messages, request.bitmap);
    request.explicitX = line.x;
    request.explicitY = line.y;
    return status != ImageRenderStatus::LoadFailed;
}

int CSubBase::ValidateTiming()
{
    int invalid = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i].timingValid = IsTimingValid(lines, i);
        invalid += lines[i].timingValid ? 0 : 1;
    }
    return invalid;
}

bool CSubBase::ValidateLine(int lineIndex)
{
    if (lineIndex < 0 || size_t(lineIndex) >= lines.size())
        return false;
    SSubLine& line = lines[size_t(lineIndex)];
    line.timingValid = IsTimingValid(lines, size_t(lineIndex));
    return line.timingValid;
}

void CSubBase::NormalizeTimes(double fps)
{
    sources::NormalizeTimes(lines, fps);
}

int CSubBase::InsertImageLine(const QString& path, QPoint position, int index)
{
    SSubLine line;
    line.source = this;
    line.imagePath = path;
    line.x = position.x();
    line.y = position.y();
    line.timingValid = false;
    if (index < 0 || size_t(index) >= lines.size()) {
        lines.push_back(line);
        return static_cast<int>(lines.size()) - 1;
    }
    lines.insert(lines.begin() + index, line);
    return index;
}

} // namespace quillary::sources
