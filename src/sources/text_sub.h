// CTextSub: the source opened from a subtitle script; its lines are laid out by the script's
// layout engine and drawn with the style template.
#pragma once

#include "sources/sub_base.h"

#include <QString>

#include <memory>

namespace quillary::layout {
class CRenderedTextSubtitle;
}
namespace quillary::textrender {
class CTextTmp;
}

namespace quillary::sources {

class CTextSub final : public CSubBase {
public:
    // `style` is the template every script line is drawn with; it must outlive the source.
    CTextSub(const textrender::CTextTmp& style, IMessageSink& messages);
    ~CTextSub() override;

    // Reads the script (any format the script model detects), makes one line per entry and
    // normalises the times. Tells the user "read error! " or "Subtitle is empty! " on failure.
    bool Load(const QString& path) override;

    // 2 for an image line; the number of non-empty text rows of a script line.
    int LineKind(int lineIndex) const override;

    // Draws a script line at the request's frame size; refuses a line larger than the frame
    // ("Font is too big. Subtitle cannot be fully shown! "). A line with no text to draw renders
    // as no bitmap and is skipped by a build.
    bool Render(int lineIndex, SRenderRequest& request) override;

    // The rows of a script line joined with "\N"; the path of an image line.
    QString LineText(int lineIndex) const;

    bool IsSubRip() const { return m_isSubRip; }

    // Time spent laying script lines out and drawing them, over all renders (for benchmarks).
    struct SRenderTimes {
        double layoutSeconds = 0;
        double drawSeconds = 0;
    };
    const SRenderTimes& RenderTimes() const { return m_renderTimes; }
    layout::CRenderedTextSubtitle* Script() const { return m_script.get(); }

private:
    void ApplyTemplateToSubRip();

    const textrender::CTextTmp& m_style;
    std::unique_ptr<layout::CRenderedTextSubtitle> m_script;
    bool m_isSubRip = false;
    SRenderTimes m_renderTimes;
};

// A new text source for a ".srt", ".ass" or ".ssa" file (extension compared without regard to
// case), loaded; null when the extension is another ("Unknown subtitle format! ") or the load
// fails.
std::unique_ptr<CTextSub> OpenSubtitleFile(const QString& path, const textrender::CTextTmp& style,
                                           IMessageSink& messages);

} // namespace quillary::sources
