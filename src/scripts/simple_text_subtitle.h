// CSimpleTextSubtitle: a text subtitle script of any format as entries and named styles, with
// the format detection that fills it.
#pragma once

#include "common/message_sink.h"
#include "scripts/sts_entry.h"
#include "scripts/sts_style.h"
#include "scripts/sts_style_map.h"
#include "scripts/text_file.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillary::scripts {

// The parsers in the order the format detection tries them.
enum class ScriptFormat {
    None,
    SubRip,
    BracketedHours,
    SubViewer,
    MicroDvd,
    HoursFirst,
    SubStationAlpha,
    Xss,
};

[[nodiscard]] const char* ScriptFormatName(ScriptFormat format);

class CSimpleTextSubtitle {
public:
    static constexpr const char* kDefaultStyle = "Default";

    // Messages (syntax errors, unknown styles) go to `sink`; null shows nothing.
    explicit CSimpleTextSubtitle(IMessageSink* sink = nullptr);
    virtual ~CSimpleTextSubtitle() = default;
    CSimpleTextSubtitle(const CSimpleTextSubtitle&) = delete;
    CSimpleTextSubtitle& operator=(const CSimpleTextSubtitle&) = delete;

    // Opens a local path or an "http://" address (downloads are limited to 1,048,576 bytes) and
    // reads it with the format detection. `charSet` is the character set of text read without a
    // Unicode encoding; an empty `scriptName` is derived from the file name.
    [[nodiscard]] bool Open(const QString& fileName, int charSet,
                            const std::string& scriptName = {});
    // The format detection over an opened reader, from its current position.
    [[nodiscard]] bool Open(CTextFile& file, int charSet, const std::string& scriptName = {});

    // Removes entries, styles and the video settings; keeps the play resolution, wrap style,
    // collisions and border scaling.
    void Empty();

    // Trims `text`; adds nothing when it is empty or `end` < `start`. CRs are removed and LFs
    // become "\N".
    void Add(QString text, bool isUnicode, int32_t start, int32_t end,
             std::string styleName = kDefaultStyle, std::string actor = {}, std::string effect = {},
             SMargins margins = {}, int32_t layer = 0, int32_t readOrder = -1);
    // Stores `style` under `name`. A different style already stored there moves to a numbered
    // name (Main -> Main2, Title9 -> Title10) and takes the entries that used it along.
    void AddStyle(std::string name, std::unique_ptr<STSStyle> style);
    STSStyle& CreateDefaultStyle(int charSet);

    [[nodiscard]] bool GetStyle(size_t entry, STSStyle& style);
    [[nodiscard]] int GetCharSet(size_t entry);
    // The entry text in Unicode.
    [[nodiscard]] QString GetText(size_t entry);

    [[nodiscard]] size_t GetCount() const { return entries.size(); }

    std::vector<STSEntry> entries;
    std::string name;
    int32_t mode = 0; // 0 times in milliseconds, 1 frame numbers
    CTextFile::Encoding encoding = CTextFile::Encoding::Ascii;
    std::string path;
    int32_t playResX = 0; // script coordinate space; 0 = not given
    int32_t playResY = 0;
    int32_t videoWidth = 0;
    int32_t videoHeight = 0;
    float frameRate = 0;
    int32_t wrapStyle = 0;
    int32_t collisions = 0; // 1 = "Reverse"
    bool scaledBorderAndShadow = false;
    bool usingAutoDefaultStyle = false;
    CSTSStyleMap styles;

    // Which parser read the script, and the families of the fonts embedded in it that were
    // registered with the platform.
    ScriptFormat format = ScriptFormat::None;
    std::vector<QString> embeddedFontFamilies;

private:
    void ChangeUnknownStylesToDefault(int charSet);
    int CountLinesUpTo(CTextFile& file, uint64_t start, uint64_t stop);

    IMessageSink* m_sink;
};

// Derives the script name from a file name: the base name without its extension, and of that
// the part after its last "." ("movie.en.srt" -> "en").
[[nodiscard]] std::string ScriptNameFromFileName(const QString& fileName);

} // namespace quillary::scripts
