// The build driver.
#include "build/sub_builder.h"

#include "build/composer.h"
#include "build/epoch_grouping.h"
#include "build/placement.h"
#include "common/video_format.h"
#include "pgs/frame_rate.h"
#include "pgs/stream_file.h"
#include "sources/sub_base.h"

#include <QRect>

#include <string>

namespace quillary::build {

namespace {

void Tell(const SBuildOptions& options, const std::string& text, MessageKind kind)
{
    if (options.messages)
        options.messages->Show(text, kind, MessageButtons::Ok);
}

std::vector<SLineTimes> TimesOf(const SBuildTrack& track)
{
    std::vector<SLineTimes> times;
    if (track.source) {
        for (const sources::SSubLine& line : track.source->lines)
            times.push_back({line.start, line.end});
    }
    return times;
}

// Reports progress before each line: whenever the percentage changes, and at every fifth line.
class CProgress {
public:
    CProgress(const ProgressCallback& callback, int total) : m_callback(callback), m_total(total) {}

    bool BeforeLine()
    {
        if (!m_callback)
            return true;
        const int position = m_total > 0 ? static_cast<int>(int64_t(m_done) * 100 / m_total) : 0;
        if (position != m_last || m_done % 5 == 0) {
            if (!m_callback({SProgressInfo::SetPosition, position, {}}))
                return false;
            m_last = position;
        }
        return true;
    }
    void LineDone() { ++m_done; }

private:
    const ProgressCallback& m_callback;
    int m_total;
    int m_done = 0;
    int m_last = 0;
};

// Crops a placed image to the frame. False when nothing of it is inside.
bool CropToFrame(SLineImage& image, int frameWidth, int frameHeight)
{
    const QRect visible = image.rect & QRect(0, 0, frameWidth, frameHeight);
    if (visible == image.rect)
        return true;
    if (visible.isEmpty())
        return false;
    image.bitmap = image.bitmap.copy(visible.translated(-image.rect.topLeft()));
    image.rect = visible;
    return true;
}

} // namespace

BuildResult CSubBuilder::Build(const SBuildOptions& options, const SBuildTrack (&tracks)[2])
{
    // 1. Something to build, somewhere to put it.
    if ((tracks[0].source == nullptr && tracks[1].source == nullptr) || options.outputPath.empty())
        return BuildResult::Failed;
    // 2. Frame, rates, composition numbering.
    if (options.frameSizeIndex < 0 || size_t(options.frameSizeIndex) >= kFrameSizes.size() ||
        options.frameRateIndex < 0 || size_t(options.frameRateIndex) >= kFrameRates.size()) {
        Tell(options, "The video size or frame rate is not one the stream supports.",
             MessageKind::Error);
        return BuildResult::Failed;
    }
    const SFrameSize frame = kFrameSizes[size_t(options.frameSizeIndex)];
    const double fps = kFrameRates[size_t(options.frameRateIndex)];
    const int rateCode = pgs::FrameRateCode(fps);
    uint16_t compositionNumber = 0;
    // 3. Output files.
    if (options.outputKind != int(pgs::OutputKind::Sup) &&
        options.outputKind != int(pgs::OutputKind::Pes)) {
        Tell(options, "Output format is not supported!", MessageKind::Error);
        return BuildResult::Failed;
    }
    pgs::CStreamFile file;
    if (!file.Open(options.outputPath, static_cast<pgs::OutputKind>(options.outputKind))) {
        Tell(options, file.ErrorText(), MessageKind::Error);
        return BuildResult::Failed;
    }
    auto fail = [&](BuildResult result) {
        file.Discard();
        return result;
    };
    // 4. Epochs.
    const std::vector<SLineTimes> times[2] = {TimesOf(tracks[0]), TimesOf(tracks[1])};
    const std::vector<SEpochLines> epochs = GroupIntoEpochs(times[0], times[1], fps);
    // 5-6. Progress.
    if (options.progress && !options.progress({SProgressInfo::SetText, 0, options.outputPath}))
        return fail(BuildResult::Cancelled);
    int total = 0;
    for (const SEpochLines& epoch : epochs) {
        for (int t = 0; t < 2; ++t)
            total += epoch.HasLines(t) ? epoch.last[t] - epoch.first[t] + 1 : 0;
    }
    CProgress progress(options.progress, total);
    int croppedLines = 0;
    int firstCropped = 0;

    // 7. Each epoch: render and place its lines, then compose and write it.
    sources::SRenderRequest requests[2];
    for (const SEpochLines& epoch : epochs) {
        SComposerInput input;
        input.frameWidth = frame.width;
        input.frameHeight = frame.height;
        input.frameRateCode = rateCode;
        input.rate = pgs::FrameRateOfCode(rateCode);
        input.statistics = options.statistics;
        bool anyImage = false;
        for (int t = 0; t < 2; ++t) {
            if (!epoch.HasLines(t))
                continue;
            const SBuildTrack& track = tracks[t];
            sources::SRenderRequest& request = requests[t];
            for (int i = epoch.first[t]; i <= epoch.last[t]; ++i) {
                if (!progress.BeforeLine())
                    return fail(BuildResult::Cancelled);
                request.Reset();
                request.frameSizeIndex = options.frameSizeIndex;
                request.frameRateIndex = options.frameRateIndex;
                request.renderFlag = options.renderFlag;
                request.renderValueA = track.renderValueA;
                request.renderValueB = track.renderValueB;
                bool rendered = false;
                {
                    CStageTimer timer(options.statistics ? &options.statistics->renderSeconds
                                                         : nullptr);
                    rendered = track.source->Render(i, request);
                }
                if (!rendered)
                    return fail(BuildResult::Failed);
                if (request.bitmap.isNull())
                    continue;
                const sources::SSubLine& line = track.source->lines[size_t(i)];
                SPlacementInput place;
                place.frameWidth = frame.width;
                place.frameHeight = frame.height;
                place.imageWidth = request.bitmap.width();
                place.imageHeight = request.bitmap.height();
                place.firstTrack = t == 0;
                place.layoutMode = options.layoutMode;
                place.alignment = track.alignment;
                place.margin =
                    track.source->LineKind(i) == 1 ? track.singleRowMargin : track.margin;
                place.explicitX = request.explicitX;
                place.explicitY = request.explicitY;
                const SPoint at = PlaceLineImage(place);

                SLineImage image;
                image.start = line.start;
                image.end = line.end;
                image.rect = QRect(at.x, at.y, place.imageWidth, place.imageHeight);
                image.bitmap = std::move(request.bitmap);
                image.fade = line.faded ? &options.fade : nullptr;
                progress.LineDone();
                if (options.statistics)
                    ++options.statistics->lines;
                // A stream object must lie inside the frame: what sticks out is cut off.
                const QSize placed = image.rect.size();
                const bool inside = CropToFrame(image, frame.width, frame.height);
                if (!inside || image.rect.size() != placed) {
                    if (croppedLines++ == 0)
                        firstCropped = i + 1;
                    if (!inside)
                        continue;
                }
                input.tracks[t].push_back(std::move(image));
                anyImage = true;
            }
        }
        if (anyImage &&
            ComposeEpoch(input, compositionNumber, file) == ComposeResult::WriteFailed) {
            Tell(options, file.ErrorText(), MessageKind::Error);
            return fail(BuildResult::Failed);
        }
    }
    // 8-9. Close, with the index's terminating record.
    if (!file.Close()) {
        Tell(options, file.ErrorText(), MessageKind::Error);
        return fail(BuildResult::Failed);
    }
    if (croppedLines > 0) {
        Tell(options,
             std::to_string(croppedLines) +
                 " line(s) did not fit in the video frame and were cut at its edges (the first "
                 "is line " +
                 std::to_string(firstCropped) + ").",
             MessageKind::Warning);
    }
    // 10. Done.
    if (options.progress)
        options.progress({SProgressInfo::SetPosition, 100, {}});
    return BuildResult::Written;
}

} // namespace quillary::build
