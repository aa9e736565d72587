// CStderrMessageSink: engine messages on the terminal, one message a paragraph on stderr.
#pragma once

#include "common/message_sink.h"

#include <cstdio>
#include <functional>
#include <string>

namespace quillary::cli {

class CStderrMessageSink final : public IMessageSink {
public:
    // Questions (OK/Cancel) are answered with OK: the command line goes on, as a user who reads
    // the message afterwards would.
    MessageAnswer Show(std::string_view text, MessageKind kind, MessageButtons) override
    {
        std::string line(text);
        // Messages about a file join path and text with CR LF or LF CR: one line break here.
        for (const char* pair : {"\r\n", "\n\r"}) {
            for (size_t at = line.find(pair); at != std::string::npos; at = line.find(pair, at))
                line.replace(at, 2, "\n");
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\n'))
            line.pop_back();
        const char* label = kind == MessageKind::Error     ? "error"
                            : kind == MessageKind::Warning ? "warning"
                                                           : "note";
        if (beforeMessage)
            beforeMessage();
        std::fprintf(stderr, "quillary-cli: %s: %s\n", label, line.c_str());
        return MessageAnswer::Ok;
    }

    // Called before a message is printed (the progress bar clears its line).
    std::function<void()> beforeMessage;
};

} // namespace quillary::cli
