// RowsOf: a laid-out event as rows of text runs, what the text renderer draws.
#include "layout/text_rows.h"

namespace quillary::layout {

std::vector<STextRow> RowsOf(const CSubtitle& subtitle)
{
    std::vector<STextRow> rows;
    rows.reserve(subtitle.lines.size());
    for (const CLine& line : subtitle.lines) {
        STextRow& row = rows.emplace_back();
        for (const auto& word : line.words) {
            if (!dynamic_cast<const CText*>(word.get())) {
                continue;
            }
            const scripts::STSStyle& style = word->style;
            row.push_back(
                {word->text, style.fontWeight, style.italic, style.underline, style.strikeOut});
        }
    }
    return rows;
}

} // namespace quillary::layout
