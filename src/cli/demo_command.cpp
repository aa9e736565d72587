// quillary-cli demo: writes a small hand-made stream, the simplest use of the stream writer.
#include "cli/commands.h"

#include "pgs/ergb_palette.h"
#include "pgs/object_coder.h"
#include "pgs/stream_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace quillary::cli {

namespace {

constexpr const char* kDemoUsage =
    "usage: quillary-cli demo OUT.sup|OUT.pes\n"
    "\n"
    "Writes a demonstration PG stream: a 1920x1080, 23.976 fps epoch that shows a framed\n"
    "box (white fill, black border, yellow bar) at the bottom of the frame from 1 s to 3 s,\n"
    "then clears it. A name ending in .pes writes a .pes file with its .mui index.\n";

constexpr int kWidth = 320;
constexpr int kHeight = 80;
constexpr uint8_t kTransparent = 3;

std::vector<uint8_t> DemoBitmap()
{
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight, kTransparent);
    for (int y = 4; y < kHeight - 4; ++y) {
        for (int x = 4; x < kWidth - 4; ++x) {
            const bool border = y < 8 || y >= kHeight - 8 || x < 8 || x >= kWidth - 8;
            const bool bar = y >= 36 && y < 44 && x >= 40 && x < kWidth - 40;
            pixels[size_t(y) * kWidth + x] = border ? 1 : (bar ? 2 : 0);
        }
    }
    return pixels;
}

void StampDisplaySet(pgs::CDsData& ds, uint32_t pts)
{
    ds.ForEachSegment([pts](pgs::CSegmentBase& segment) {
        segment.pts = pts;
        segment.dts = 0;
    });
}

bool BuildDemo(const std::string& path, pgs::OutputKind kind)
{
    constexpr int left = (1920 - kWidth) / 2;
    constexpr int top = 1080 - 60 - kHeight;

    pgs::CErgbPalette palette;
    palette.entries = {{0, 255, 255, 255, 255}, // white
                       {1, 0, 0, 0, 255},       // black
                       {2, 0, 220, 255, 255},   // yellow
                       {kTransparent, 0, 0, 0, 0}};
    const std::vector<uint8_t> pixels = DemoBitmap();

    pgs::CEpochData epoch;
    uint16_t compositionNumber = 0;
    {
        pgs::CDsData& show = epoch.AddDisplaySet();
        show.compositionState = uint8_t(pgs::CompositionState::EpochStart);
        show.pcs = std::make_unique<pgs::CPcs>();
        show.pcs->videoDescriptor = {1920, 1080, 1, 0};
        show.pcs->compositionNumber = compositionNumber++;
        show.pcs->AddCompositionObject(0, 0, false, left, top);
        show.wds = std::make_unique<pgs::CWds>();
        show.wds->AddWindow(0, left, top, left + kWidth, top + kHeight);
        show.AddPaletteSegment().SetFromPalette(palette);
        if (!pgs::CreateObjectSegments(show, {kWidth, kHeight, kWidth, pixels.data()}, 0, 0))
            return false;
        show.GetEndSegment();
        StampDisplaySet(show, 90000);
    }
    {
        pgs::CDsData& clear = epoch.AddDisplaySet();
        clear.compositionState = uint8_t(pgs::CompositionState::NormalCase);
        clear.pcs = std::make_unique<pgs::CPcs>();
        clear.pcs->videoDescriptor = {1920, 1080, 1, 0};
        clear.pcs->compositionNumber = compositionNumber++;
        clear.wds = std::make_unique<pgs::CWds>();
        clear.wds->AddWindow(0, left, top, left + kWidth, top + kHeight);
        clear.GetEndSegment();
        StampDisplaySet(clear, 270000);
    }

    pgs::CStreamFile file;
    if (!file.Open(path, kind)) {
        std::fprintf(stderr, "quillary-cli: %s\n", file.ErrorText().c_str());
        return false;
    }
    const pgs::WriteStatus status = file.WriteEpoch(epoch);
    if (status != pgs::WriteStatus::Written || !file.Close()) {
        std::fprintf(stderr, "quillary-cli: %s\n",
                     status == pgs::WriteStatus::Invalid ? "invalid display set"
                                                         : file.ErrorText().c_str());
        file.Discard();
        return false;
    }
    return true;
}

bool EndsWith(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

} // namespace

int RunDemoCommand(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kDemoUsage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(kDemoUsage, stderr);
        return 2;
    }
    const std::string path = argv[1];
    const auto kind = EndsWith(path, ".pes") ? pgs::OutputKind::Pes : pgs::OutputKind::Sup;
    if (!BuildDemo(path, kind))
        return 2;
    std::printf("%s\nwas bulit sucessfully!\n", path.c_str());
    return 0;
}

} // namespace quillary::cli
