// Fuzz target: arbitrary bytes opened as a script through the whole format detection, then every
// entry's style and Unicode text. Checks the model's invariants after each open.
#include "scripts/simple_text_subtitle.h"
#include "scripts/text_file.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using quillary::scripts::CSimpleTextSubtitle;
using quillary::scripts::CTextFile;
using quillary::scripts::STSStyle;

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void OpenWithCharSet(const QByteArray& bytes, int charSet)
{
    CTextFile file;
    Require(file.OpenBytes(bytes));
    CSimpleTextSubtitle script; // messages go nowhere
    const bool ok = script.Open(file, charSet);
    if (!ok) {
        Require(script.GetCount() == 0 && script.styles.GetCount() == 0);
        return;
    }
    Require(script.styles.Contains(CSimpleTextSubtitle::kDefaultStyle));
    for (size_t i = 0; i < script.GetCount(); ++i) {
        const auto& entry = script.entries[i];
        Require(!entry.text.isEmpty());
        Require(entry.end >= entry.start);
        Require(!entry.styleName.empty() && entry.styleName[0] != '*');
        Require(script.styles.Contains(entry.styleName));
        Require(!entry.text.contains(QLatin1Char('\n')) && !entry.text.contains(QLatin1Char('\r')));
        STSStyle style;
        Require(script.GetStyle(i, style));
        (void)script.GetText(i);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    OpenWithCharSet(bytes, 1);   // single-byte default code page
    OpenWithCharSet(bytes, 128); // Shift-JIS: lead bytes in every search
    return 0;
}
