// Helpers of the textrender tests: fixture paths, a message recorder, painting a brush.
#pragma once

#include "common/message_sink.h"

#include <QBrush>
#include <QFontDatabase>
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

// The family of the project's own copy of DejaVu Sans (regular and bold), registered on first
// use, so that glyph shapes do not depend on the machine's fonts.
inline QString TestFontFamily()
{
    static const QString family = [] {
        const QString dir = QString(QUILLARY_TEST_DATA_DIR) + "/fonts/";
        const int regular = QFontDatabase::addApplicationFont(dir + "DejaVuSans.ttf");
        QFontDatabase::addApplicationFont(dir + "DejaVuSans-Bold.ttf");
        const QStringList families = QFontDatabase::applicationFontFamilies(regular);
        return families.isEmpty() ? QString() : families.front();
    }();
    return family;
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
