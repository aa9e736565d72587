// CSubBase: a subtitle source, the timed lines a user works on and the renderer of each line.
#pragma once

#include "common/message_sink.h"
#include "sources/render_request.h"
#include "sources/sub_line.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

namespace quillary::sources {

class CSubBase {
public:
    // `messages` receives what the source has to tell the user; it must outlive the source.
    explicit CSubBase(IMessageSink& messages) : m_messages(&messages) {}
    CSubBase(const CSubBase&) = delete;
    CSubBase& operator=(const CSubBase&) = delete;
    virtual ~CSubBase() = default;

    // The number of text rows of line `lineIndex`; 2 for every line of a source without text.
    // Only the value 1 matters to callers: single-row lines take their own margin.
    virtual int LineKind(int lineIndex) const;

    virtual bool Load(const QString& path) = 0;

    // Renders line `lineIndex` into `request.bitmap` (null when the line shows nothing) and
    // gives the line's explicit position. Here: image lines; a line without an image fails.
    virtual bool Render(int lineIndex, SRenderRequest& request);

    // Checks every line's timing; returns the number of invalid lines.
    int ValidateTiming();
    // Re-checks line `lineIndex` alone; returns whether it is valid.
    bool ValidateLine(int lineIndex);

    void NormalizeTimes(double fps);

    // Adds an image line at `position` before line `index` (appended for -1 or any index past
    // the end) and returns its index. Its times are 0, so it is invalid until they are edited.
    int InsertImageLine(const QString& path, QPoint position, int index);

    // The frame size the image lines were made for; empty until the first image line renders.
    const QRect& ImageReference() const { return m_imageReference; }

    IMessageSink& Messages() const { return *m_messages; }

    int kind = 1; // 0 for a text script source
    std::vector<SSubLine> lines;

private:
    IMessageSink* m_messages;
    QRect m_imageReference;
};

} // namespace quillary::sources
