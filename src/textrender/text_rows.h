// STextRun and STextRow: the rows of word runs that the layout hands to the renderer.
#pragma once

#include <QString>

#include <vector>

namespace quillary::textrender {

// One run of words in one style. Only a weight of exactly 700 draws bold.
struct STextRun {
    QString text;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

using STextRow = std::vector<STextRun>;

} // namespace quillary::textrender
