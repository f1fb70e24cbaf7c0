// Where message boxes and shell requests of the utility functions go. The desktop program
// installs Qt dialogs and Qt's desktop services; the command line keeps the defaults
// (messages to standard error, shell requests to xdg-open); tests install recorders.
// Install handlers before any other thread runs; they are called on the caller's thread.
#pragma once

#include <functional>
#include <string>

namespace selvane {

enum class MessageKind { Plain, Error, Warning, Info };

// caption is the box's title ("Error", "Warning", ...); text has its line breaks expanded.
using MessageHandler =
    std::function<void(MessageKind kind, const std::string& caption, const std::string& text)>;
using ShellOpenHandler = std::function<void(const std::string& target)>;

// Each returns the handler it replaces; an empty function restores the default.
MessageHandler SetMessageHandler(MessageHandler handler);
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// Pass a request to the installed handler.
void DeliverMessage(MessageKind kind, const std::string& caption, const std::string& text);
void DeliverShellOpen(const std::string& target);

}  // namespace selvane
