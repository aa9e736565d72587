// CRenderedTextSubtitle: the script model with the layout of its entries into lines of word runs,
// cached per entry.
#pragma once

#include "layout/override_tags.h"
#include "layout/subtitle.h"
#include "layout/word.h"
#include "scripts/simple_text_subtitle.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>

namespace quillary::layout {

// Layout coordinates are eighths of a pixel of the target frame.
class CRenderedTextSubtitle : public scripts::CSimpleTextSubtitle {
public:
    explicit CRenderedTextSubtitle(IMessageSink* sink = nullptr);
    ~CRenderedTextSubtitle() override;

    // The format detection of the script model; the cache is dropped first.
    [[nodiscard]] bool Open(const QString& fileName, int charSet,
                            const std::string& scriptName = {});
    [[nodiscard]] bool Open(scripts::CTextFile& file, int charSet,
                            const std::string& scriptName = {});
    // Drops the cache, then empties the script model.
    void Empty();

    // Sets the frame size and the video rectangle inside it, in pixels, after dropping the
    // cache.
    void Init(int32_t frameWidth, int32_t frameHeight, int32_t videoLeft, int32_t videoTop,
              int32_t videoRight, int32_t videoBottom);
    // Drops every cached event and zeroes the frame size and video rectangle.
    void Deinit();

    // The layout of entry `entry`, owned by the cache: the same object on every call unless the
    // event is animated (then it is built anew). Null when the entry does not exist or memory
    // runs out. When `style` is given and holds nothing, it receives a copy of the running style
    // after the first override block of the text (none when the text has no block), as the
    // event is laid out: an event that comes from the cache gives none.
    [[nodiscard]] CSubtitle* GetSubtitle(size_t entry,
                                         std::unique_ptr<scripts::STSStyle>* style = nullptr);

    // Line spacing in pixels, kept here for the text source's own line layout; unused by layout.
    int32_t lineSpacing = 0;

    struct SSize {
        int32_t width = 0;
        int32_t height = 0;
    };
    struct SRect {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
    };
    [[nodiscard]] SSize FrameSize() const { return m_frameSize; }
    [[nodiscard]] SRect VideoRect() const { return m_videoRect; }

private:
    void ForgetFontsIfEmbedded();
    std::unique_ptr<CSubtitle> Build(size_t entry, std::unique_ptr<scripts::STSStyle>* style);
    void ParseEffect(CSubtitle& sub, const std::string& effect) const;
    // Cuts `chunk` into words with `style` (sizes scaled to the frame).
    void ParseString(CSubtitle& sub, QString chunk, const scripts::STSStyle& style);
    void ParsePolygon(CSubtitle& sub, const QString& chunk, const scripts::STSStyle& style);

    std::map<size_t, std::unique_ptr<CSubtitle>> m_cache;
    SSize m_frameSize;
    SRect m_videoRect;
    SKaraoke m_karaoke;
    int32_t m_drawingScale = 0;
    int32_t m_drawingBaseline = 0;
    SAnimation m_animation;
};

} // namespace quillary::layout
