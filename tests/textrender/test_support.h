// Helpers of the textrender tests: fixture paths, a message recorder, painting a brush.
#pragma once

#include "common/message_sink.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QString>

#include <string>
#include <vector>

namespace quillary::textrender {

inline QString DataFile(const char* name)
{
    return QString(QUILLARY_TEST_DATA_DIR) + "/textrender/" + name;
}

class CRecordingSink final : public IMessageSink {
public:
    MessageAnswer Show(std::string_view text, MessageKind, MessageButtons) override
    {
        messages.emplace_back(text);
        return MessageAnswer::Ok;
    }
    std::vector<std::string> messages;
};

// `brush` filled into `rect` of a transparent ARGB32 image of `size`, without anti-aliasing.
inline QImage PaintBrush(const QBrush& brush, QSize size, QRect rect)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(rect, brush);
    painter.end();
    return image;
}

} // namespace quillary::textrender
