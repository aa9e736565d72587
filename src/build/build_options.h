// The records a build is started with: options, two tracks, and the progress messages.
#pragma once

#include "build/build_statistics.h"
#include "build/fade_steps.h"
#include "common/message_sink.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quillary::sources {
class CSubBase;
}

namespace quillary::build {

// A progress message: set the position (percent) or set the text.
struct SProgressInfo {
    enum Command : int32_t { SetPosition = 0, SetText = 1 };
    int32_t command = SetPosition;
    int32_t position = 0;
    std::string text;
};

// Returns false when the user has pressed Cancel.
using ProgressCallback = std::function<bool(const SProgressInfo&)>;

struct SBuildOptions {
    std::string outputPath;                 // the .sup or .pes file
    int32_t frameSizeIndex = 0;             // row of the frame size table
    int32_t frameRateIndex = 0;             // row of the frame rate table
    bool renderFlag = false;                // passed to every render call
    int32_t outputKind = 0;                 // 0 .sup; 2 .pes with .mui
    int32_t layoutMode = 0;                 // 0 horizontal, 1 vertical, 2 by image shape
    SFadeSettings fade;                     // applied to the lines marked as faded
    ProgressCallback progress;              // may be empty
    IMessageSink* messages = nullptr;       // may be null: nothing is shown
    SBuildStatistics* statistics = nullptr; // filled with the stages' times when given
};

struct SBuildTrack {
    sources::CSubBase* source = nullptr; // none for a track without lines
    int32_t direction = 0;
    int32_t alignment = 1;        // 1 centred, 2 far side, else near side
    int32_t margin = 90;          // from the frame edge, lines of other than one text row
    int32_t singleRowMargin = 90; // the same for single-row lines
    int32_t renderValueA = 1;     // passed to every render call
    int32_t renderValueB = 0;     // passed to every render call: space between rows
    int32_t spareValue = 125;
};

} // namespace quillary::build
