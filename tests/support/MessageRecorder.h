// Records the message boxes that the program shows while the recorder lives, instead of
// showing them, and puts the previous handler back afterwards.
#pragma once

#include "util/MessageHandler.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace selvane::test {

struct RecordedMessage {
    MessageKind kind;
    std::string caption;
    std::string text;
};

class MessageRecorder {
public:
    MessageRecorder()
        : previous_(SetMessageHandler(
              [this](MessageKind kind, const std::string& caption, const std::string& text) {
                  const RecordedMessage message{kind, caption, text};
                  if (beforeEach_) beforeEach_(message);  // may throw, as a box that fails to show does
                  messages.push_back(message);
              }))
    {}
    ~MessageRecorder() { SetMessageHandler(std::move(previous_)); }

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Runs before each message is recorded: to look at the program at that moment, or to
    // throw in place of the box.
    void BeforeEach(std::function<void(const RecordedMessage&)> action) { beforeEach_ = std::move(action); }

    std::vector<RecordedMessage> messages;

private:
    std::function<void(const RecordedMessage&)> beforeEach_;
    MessageHandler previous_;
};

}  // namespace selvane::test
