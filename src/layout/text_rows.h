// RowsOf: a laid-out event as rows of text runs, what the text renderer draws.
#pragma once

#include "layout/subtitle.h"

#include <QString>

#include <vector>

namespace quillary::layout {

// One run of a row: its text and the style bits the renderer takes from it. Only a weight of
// exactly 700 draws bold.
struct STextRun {
    QString text;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

using STextRow = std::vector<STextRun>;

// The lines of `subtitle` in order, each as its runs of text; an empty line gives an empty row.
// Drawings are left out: their commands are not text to draw.
[[nodiscard]] std::vector<STextRow> RowsOf(const CSubtitle& subtitle);

} // namespace quillary::layout
