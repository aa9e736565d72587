// A message sink for tests: records every message and answers as told.
#pragma once

#include "common/message_sink.h"

#include <string>
#include <vector>

namespace quillary::test {

class CRecordingSink final : public IMessageSink {
public:
    struct SMessage {
        std::string text;
        MessageKind kind;
        MessageButtons buttons;
    };

    MessageAnswer Show(std::string_view text, MessageKind kind, MessageButtons buttons) override
    {
        messages.push_back({std::string(text), kind, buttons});
        return answer;
    }

    std::vector<SMessage> messages;
    MessageAnswer answer = MessageAnswer::Ok;
};

} // namespace quillary::test
