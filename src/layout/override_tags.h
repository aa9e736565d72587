// Override tags: splitting a "{...}" block into commands and applying them to the running style
// and the event.
#pragma once

#include "layout/subtitle.h"
#include "layout/word.h"
#include "scripts/sts_style.h"
#include "scripts/sts_style_map.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace quillary::layout {

// One command of a block: "fs20" gives name "fs" and parameters {"20"}; "pos(10, 20)" gives
// "pos" and {"10", "20"}. Parameters in parentheses come first, then the rest of the name.
struct STagCommand {
    QString name;
    std::vector<QString> params;

    friend bool operator==(const STagCommand&, const STagCommand&) = default;
};

// The commands of the text between "{" and "}", in order; empty commands are skipped.
[[nodiscard]] std::vector<STagCommand> SplitTags(QStringView block);

// Numbers as the C library reads them: leading white space and a sign, then digits; the rest is
// ignored and no digits read as 0. Independent of the locale.
[[nodiscard]] int64_t ReadInt(QStringView text, int base = 10);
[[nodiscard]] double ReadReal(QStringView text);

// Timing of the last "\t" (milliseconds; 0, 0 = the whole event).
struct SAnimation {
    int32_t start = 0;
    int32_t end = 0;
    double acceleration = 1.0;
};

// What the tags of one event change besides its words.
struct STagState {
    scripts::STSStyle& style;            // the running style
    const scripts::STSStyle& eventStyle; // the entry's style, which empty values restore
    const scripts::CSTSStyleMap& styles; // for "\r<name>"
    CSubtitle& subtitle;
    SKaraoke& karaoke;
    int32_t& drawingScale;
    int32_t& drawingBaseline;
    SAnimation& animation;
    int32_t scriptWrapStyle;
    bool isUnicode; // names in Unicode entries become UTF-8, others the default code page
};

// Applies every command of `block` in order. Unknown commands are ignored. The tags inside
// "\t" are animated: with no rendering time their values stay as at the animation's start, so
// they leave the running style as it is and only mark the event animated.
void ApplyTags(QStringView block, STagState& state);

} // namespace quillary::layout
