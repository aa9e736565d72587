// Helpers of the script tests: a message sink that records, and opening script text from memory.
#pragma once

#include "common/message_sink.h"
#include "scripts/simple_text_subtitle.h"
#include "scripts/text_file.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace quillary::scripts::test {

class CRecordingMessageSink final : public IMessageSink {
public:
    struct SMessage {
        std::string text;
        MessageKind kind;
        MessageButtons buttons;
    };

    explicit CRecordingMessageSink(MessageAnswer answer = MessageAnswer::Ok) : m_answer(answer) {}

    MessageAnswer Show(std::string_view text, MessageKind kind, MessageButtons buttons) override
    {
        messages.push_back({std::string(text), kind, buttons});
        return m_answer;
    }

    std::vector<SMessage> messages;

private:
    MessageAnswer m_answer;
};

// Opens `bytes` as a script file through the whole format detection.
inline bool OpenScript(CSimpleTextSubtitle& script, const QByteArray& bytes, int charSet = 1)
{
    CTextFile file;
    if (!file.OpenBytes(bytes)) {
        return false;
    }
    return script.Open(file, charSet);
}

} // namespace quillary::scripts::test
