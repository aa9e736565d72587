// Decoding our streams with FFmpeg for tests: one RGBA frame per subtitle change, named by its
// PTS, and the colours FFmpeg shows for our palette entries.
#pragma once

#include "pgs/ycrcb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace quillary::test {

struct SRgbaFrame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

// A subtitle event as FFmpeg's decoder reports it.
struct SEvent {
    long ticks = 0; // presentation time, 90 kHz ticks
    int rects = 0;  // pictures shown; 0 clears the screen

    friend bool operator==(const SEvent&, const SEvent&) = default;
    friend auto operator<=>(const SEvent&, const SEvent&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const SEvent& event)
{
    return out << event.ticks << ":" << event.rects;
}

struct SDecoded {
    std::vector<SEvent> events;        // in stream order
    std::map<long, SRgbaFrame> frames; // by PTS in 90 kHz ticks (sub2video adds a few more)
    std::string complaints;            // what FFmpeg said about the stream
    bool ran = false;
};

inline bool ProgramExists(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Skips the calling test when FFmpeg is missing, unless QUILLARY_REQUIRE_FFMPEG is set (as the
// project's test command does), where it fails instead.
#define QUILLARY_REQUIRE_FFMPEG_OR_SKIP()                                                          \
    do {                                                                                           \
        if (!::quillary::test::ProgramExists("ffmpeg")) {                                          \
            if (std::getenv("QUILLARY_REQUIRE_FFMPEG") != nullptr)                                 \
                FAIL() << "ffmpeg is required (QUILLARY_REQUIRE_FFMPEG is set) but not found";     \
            GTEST_SKIP() << "ffmpeg not installed";                                                \
        }                                                                                          \
    } while (0)

// Reads a PAM image (as FFmpeg's pam encoder writes it) as RGBA.
inline bool ReadPam(const std::filesystem::path& path, SRgbaFrame& frame)
{
    std::ifstream in(path, std::ios::binary);
    std::string word;
    int depth = 0, maxval = 0;
    in >> word;
    if (word != "P7")
        return false;
    while (in >> word && word != "ENDHDR") {
        if (word == "WIDTH")
            in >> frame.width;
        else if (word == "HEIGHT")
            in >> frame.height;
        else if (word == "DEPTH")
            in >> depth;
        else if (word == "MAXVAL")
            in >> maxval;
        else if (word == "TUPLTYPE")
            in >> word;
    }
    in.get(); // the newline after ENDHDR
    if (depth != 4 || maxval != 255 || frame.width <= 0 || frame.height <= 0)
        return false;
    frame.rgba.resize(size_t(frame.width) * frame.height * 4);
    in.read(reinterpret_cast<char*>(frame.rgba.data()),
            static_cast<std::streamsize>(frame.rgba.size()));
    return in.gcount() == static_cast<std::streamsize>(frame.rgba.size());
}

// Renders `sup` with FFmpeg's sub2video on a transparent canvas of the given size. -copyts keeps
// our own time stamps.
inline SDecoded DecodeSup(const std::filesystem::path& sup, const std::filesystem::path& workDir,
                          int width, int height)
{
    namespace fs = std::filesystem;
    SDecoded decoded;
    const fs::path frames = workDir / "frames";
    fs::remove_all(frames);
    fs::create_directories(frames);
    const fs::path log = workDir / "ffmpeg.log";
    const std::string command =
        "ffmpeg -hide_banner -nostdin -v error -copyts -canvas_size " + std::to_string(width) +
        "x" + std::to_string(height) + " -i '" + sup.string() +
        "' -filter_complex '[0:s]format=rgba[v]' -map '[v]' -fps_mode passthrough "
        "-enc_time_base 1:90000 -frame_pts 1 -c:v pam '" +
        (frames / "f_%010d.pam").string() + "' 2>'" + log.string() + "'";
    decoded.ran = std::system(command.c_str()) == 0;
    // The decoder's events, PTS in microseconds (rounded from our ticks: round back).
    const fs::path events = workDir / "events.txt";
    const std::string probe = "ffprobe -v error -select_streams s:0 -show_frames -show_entries "
                              "subtitle=pts,num_rects -of csv=p=0 '" +
                              sup.string() + "' >'" + events.string() + "' 2>>'" + log.string() +
                              "'";
    decoded.ran = std::system(probe.c_str()) == 0 && decoded.ran;
    std::ifstream eventFile(events);
    long long micros = 0;
    char comma = 0;
    int rects = 0;
    while (eventFile >> micros >> comma >> rects)
        decoded.events.push_back({static_cast<long>((micros * 9 + 50) / 100), rects});
    // The image2 muxer's "non monotonically increasing dts" comes from sub2video's frame one
    // tick before each change, not from the stream; everything else is about the stream.
    std::ifstream logFile(log);
    std::string line;
    while (std::getline(logFile, line)) {
        if (line.find("image2 @") == std::string::npos &&
            line.find("Last message repeated") == std::string::npos)
            decoded.complaints += line + "\n";
    }
    for (const auto& entry : fs::directory_iterator(frames)) {
        SRgbaFrame frame;
        if (ReadPam(entry.path(), frame))
            decoded.frames[std::stol(entry.path().stem().string().substr(2))] = std::move(frame);
    }
    return decoded;
}

struct SRgba {
    int r, g, b, a;
};

// What FFmpeg shows for a palette entry we wrote from (r, g, b, a): our Y/Cr/Cb read back with
// the BT.709 studio-range equations it uses for HD frames.
inline SRgba ShownColour(int r, int g, int b, int a)
{
    const pgs::SYCrCb ycc =
        pgs::RgbToYCrCb(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
    const double y = 1.164 * (ycc.y - 16);
    const double cr = ycc.cr - 128.0;
    const double cb = ycc.cb - 128.0;
    auto clamp = [](double v) { return int(std::clamp(std::lround(v), 0L, 255L)); };
    return {clamp(y + 1.793 * cr), clamp(y - 0.213 * cb - 0.533 * cr), clamp(y + 2.112 * cb), a};
}

} // namespace quillary::test
