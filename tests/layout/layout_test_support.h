// Helpers of the layout tests: the test font, scripts from the fixture style sheets, and a
// laid-out event written as text.
#pragma once

#include "layout/rendered_text_subtitle.h"
#include "layout/text_rows.h"
#include "scripts/text_file.h"

#include <QFile>
#include <QString>

#include <string>

namespace quillary::layout::test {

// The family of tests/data/fonts/DejaVuSans.ttf, which the test main registers.
inline constexpr const char* kTestFamily = "DejaVu Sans";

// Opens tests/data/layout/`name`; false when it cannot be read or parsed.
inline bool OpenFixture(CRenderedTextSubtitle& script, const char* name)
{
    QFile file(QStringLiteral(QUILLARY_TEST_DATA_DIR "/layout/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    scripts::CTextFile reader;
    return reader.OpenBytes(file.readAll()) && script.Open(reader, 1);
}

// The rows of an event: rows joined by " / ", runs by "|", each run as its text and its style
// bits: "Hello :400|World:700b" (weight, then i, u, s for italic, underline, strike-out).
inline std::string Describe(const CSubtitle& subtitle)
{
    std::string out;
    for (const STextRow& row : RowsOf(subtitle)) {
        if (!out.empty()) {
            out += " / ";
        }
        std::string runs;
        for (const STextRun& run : row) {
            if (!runs.empty()) {
                runs += '|';
            }
            runs += run.text.toStdString() + ':' + std::to_string(run.weight);
            runs += run.italic ? "i" : "";
            runs += run.underline ? "u" : "";
            runs += run.strikeOut ? "s" : "";
        }
        out += runs;
    }
    return out;
}

} // namespace quillary::layout::test
