// CTextSub: loading a script into lines and rendering them.
#include "sources/text_sub.h"

#include "common/video_format.h"
#include "layout/rendered_text_subtitle.h"
#include "layout/text_rows.h"
#include "textrender/text_render.h"
#include "textrender/text_tmp.h"

#include <QFileInfo>

#include <chrono>

namespace quillary::sources {

namespace {

constexpr double kLoadFps = 23.976;

void Tell(IMessageSink& messages, const QString& text)
{
    messages.Show(text.toStdString(), MessageKind::Error, MessageButtons::Ok);
}

QString Extension(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

bool RowHasText(const layout::STextRow& row)
{
    for (const layout::STextRun& run : row) {
        if (!run.text.isEmpty())
            return true;
    }
    return false;
}

QString RowText(const layout::STextRow& row)
{
    QString text;
    for (const layout::STextRun& run : row)
        text += run.text;
    return text;
}

// The anamorphic frames: 1440 x 1080 always, the standard-definition ones when asked.
bool Squeezed(const SRenderRequest& request)
{
    return request.frameSizeIndex == 1 ||
           (request.renderFlag && (request.frameSizeIndex == 3 || request.frameSizeIndex == 4));
}

} // namespace

CTextSub::CTextSub(const textrender::CTextTmp& style, IMessageSink& messages)
    : CSubBase(messages), m_style(style)
{
    kind = 0;
}

CTextSub::~CTextSub() = default;

bool CTextSub::Load(const QString& path)
{
    // 1-2. A fresh script, read with the format detection.
    m_script = std::make_unique<layout::CRenderedTextSubtitle>(&Messages());
    if (!m_script->Open(path, 1)) {
        Tell(Messages(), path + "\n\r" + "read error! ");
        m_script.reset();
        return false;
    }
    // 3. SubRip lines take the template's font.
    m_isSubRip = Extension(path) == "srt";
    if (m_isSubRip)
        ApplyTemplateToSubRip();
    // 4. Something to show.
    if (m_script->GetCount() == 0) {
        Tell(Messages(), path + "\n\r" + "Subtitle is empty! ");
        m_script.reset();
        return false;
    }
    // 5-6. One line per entry, times normalised.
    lines.clear();
    lines.reserve(m_script->GetCount());
    for (size_t i = 0; i < m_script->GetCount(); ++i) {
        SSubLine line;
        line.source = this;
        line.entryIndex = static_cast<int32_t>(i);
        line.start = m_script->entries[i].start;
        line.end = m_script->entries[i].end;
        lines.push_back(line);
    }
    NormalizeTimes(kLoadFps);
    // 7. Lay out for the full-HD frame until a render asks for another.
    m_script->Init(1920, 1080, 0, 0, 1920, 1080);
    return true;
}

void CTextSub::ApplyTemplateToSubRip()
{
    auto style = std::make_unique<scripts::STSStyle>();
    style->fontName = m_style.fontName.toStdString();
    style->fontSize = static_cast<int>(m_style.fontSize);
    style->fontWeight = (m_style.fontStyle & textrender::kFontStyleBold) ? 700 : 400;
    style->italic = (m_style.fontStyle & textrender::kFontStyleItalic) != 0;
    style->underline = (m_style.fontStyle & textrender::kFontStyleUnderline) != 0;
    style->strikeOut = (m_style.fontStyle & textrender::kFontStyleStrikeOut) != 0;
    if (scripts::STSStyle* existing =
            m_script->styles.Lookup(scripts::CSimpleTextSubtitle::kDefaultStyle)) {
        *existing = *style;
        m_script->usingAutoDefaultStyle = false;
    }
    m_script->playResX = 1920;
    m_script->playResY = 1080;
}

int CTextSub::LineKind(int lineIndex) const
{
    if (lineIndex < 0 || size_t(lineIndex) >= lines.size())
        return 2;
    const SSubLine& line = lines[size_t(lineIndex)];
    if (line.IsImageLine() || !m_script)
        return 2;
    const layout::CSubtitle* subtitle = m_script->GetSubtitle(size_t(line.entryIndex));
    if (subtitle == nullptr)
        return 0;
    int rows = 0;
    for (const layout::STextRow& row : layout::RowsOf(*subtitle))
        rows += RowHasText(row) ? 1 : 0;
    return rows;
}

QString CTextSub::LineText(int lineIndex) const
{
    if (lineIndex < 0 || size_t(lineIndex) >= lines.size())
        return {};
    const SSubLine& line = lines[size_t(lineIndex)];
    if (line.IsImageLine())
        return line.imagePath;
    if (!m_script)
        return {};
    const layout::CSubtitle* subtitle = m_script->GetSubtitle(size_t(line.entryIndex));
    if (subtitle == nullptr)
        return {};
    QStringList rows;
    for (const layout::STextRow& row : layout::RowsOf(*subtitle)) {
        if (RowHasText(row))
            rows << RowText(row);
    }
    return rows.join("\\N");
}

bool CTextSub::Render(int lineIndex, SRenderRequest& request)
{
    request.bitmap = QImage();
    if (lineIndex < 0 || size_t(lineIndex) >= lines.size())
        return false;
    const SSubLine& line = lines[size_t(lineIndex)];
    // 1. Image lines.
    if (line.IsImageLine())
        return CSubBase::Render(lineIndex, request);
    if (!m_script)
        return false;

    // 2. Lay the entry out at the frame size and draw it.
    const SFrameSize frame = FrameSizeOfRow(request.frameSizeIndex);
    m_script->videoWidth = frame.width;
    m_script->videoHeight = frame.height;
    m_script->frameRate = static_cast<float>(FrameRateOfRow(request.frameRateIndex));
    m_script->lineSpacing = request.renderValueB;
    const auto layoutStart = std::chrono::steady_clock::now();
    m_script->Init(frame.width, frame.height, 0, 0, frame.width, frame.height);
    const layout::CSubtitle* subtitle = m_script->GetSubtitle(size_t(line.entryIndex));
    if (subtitle == nullptr)
        return false;
    std::vector<layout::STextRow> rows = layout::RowsOf(*subtitle);
    const auto drawStart = std::chrono::steady_clock::now();
    m_renderTimes.layoutSeconds += std::chrono::duration<double>(drawStart - layoutStart).count();
    bool anyText = false;
    for (const layout::STextRow& row : rows)
        anyText = anyText || RowHasText(row);
    if (!anyText) {
        // Nothing to draw (an empty entry, or one made of drawings only): the line shows
        // nothing, and a build goes on without it.
        request.explicitX = line.x;
        request.explicitY = line.y;
        return true;
    }
    QImage bitmap = textrender::RenderEntry(rows, m_style, request.renderValueB);
    m_renderTimes.drawSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - drawStart).count();
    if (bitmap.isNull()) {
        Tell(Messages(), QString("The font \"%1\" cannot draw line %2.")
                             .arg(m_style.FontFamilyName())
                             .arg(lineIndex + 1));
        return false;
    }
    // 3. It must fit on the frame.
    if (bitmap.width() > frame.width || bitmap.height() > frame.height) {
        Tell(Messages(), QString("Font is too big. Subtitle cannot be fully shown! \nLine: %1")
                             .arg(lineIndex + 1));
        return false;
    }
    // 4. Anamorphic frames store the picture three quarters as wide.
    if (Squeezed(request)) {
        bitmap = bitmap.scaled(bitmap.width() * 3 / 4, bitmap.height(), Qt::IgnoreAspectRatio,
                               Qt::FastTransformation);
    }
    // 5. Done.
    request.bitmap = std::move(bitmap);
    request.explicitX = line.x;
    request.explicitY = line.y;
    return true;
}

std::unique_ptr<CTextSub> OpenSubtitleFile(const QString& path, const textrender::CTextTmp& style,
                                           IMessageSink& messages)
{
    const QString extension = Extension(path);
    if (extension != "srt" && extension != "ass" && extension != "ssa") {
        Tell(messages, path + "\r\n" + "Unknown subtitle format! ");
        return nullptr;
    }
    auto source = std::make_unique<CTextSub>(style, messages);
    if (!source->Load(path))
        return nullptr;
    return source;
}

} // namespace quillary::sources
