#pragma once
// Message boxes. The component never blocks on a dialog: it hands the message to the sink of
// its host, which shows it (a window) or prints it (the command-line tool).
#include <string>

namespace platform {

enum class MessageIcon { None, Error, Information };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void show(const std::string& title, const std::string& text, MessageIcon icon) = 0;
};

// Writes "MESSAGE <title>: <text>" and a line end to standard error.
class StandardErrorMessageSink : public MessageSink {
  public:
    void show(const std::string& title, const std::string& text, MessageIcon icon) override;
};

}  // namespace platform
