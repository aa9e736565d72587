// IMessageSink: how the engine tells the user something. The desktop app shows each message as a
// modal box; the command line prints it to stderr; tests record it.
#pragma once

#include <string>
#include <string_view>

namespace quillary {

enum class MessageKind { Information, Warning, Error };

// Which buttons the message offers; OkCancel lets the user stop the operation that asked.
enum class MessageButtons { Ok, OkCancel };

enum class MessageAnswer { Ok, Cancel };

class IMessageSink {
public:
    virtual ~IMessageSink() = default;

    // `text` is UTF-8 and quoted exactly as the engine composes it (trailing blanks included).
    virtual MessageAnswer Show(std::string_view text, MessageKind kind, MessageButtons buttons) = 0;
};

// Answers Ok to everything and shows nothing; for callers that have no user to ask.
class CSilentMessageSink final : public IMessageSink {
public:
    MessageAnswer Show(std::string_view, MessageKind, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

} // namespace quillary
