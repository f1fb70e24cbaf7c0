#include "util/MessageHandler.h"

#include "platform/ShellOpen.h"

#include <iostream>
#include <utility>

namespace selvane {

namespace {

void WriteToStandardError(MessageKind, const std::string& caption, const std::string& text)
{
    std::cerr << caption << ": " << text << '\n';
}

MessageHandler& CurrentMessageHandler()
{
    static MessageHandler handler = WriteToStandardError;
    return handler;
}

void OpenWithDesktop(const std::string& target)
{
    platform::OpenWithDefaultApplication(target);
}

ShellOpenHandler& CurrentShellOpenHandler()
{
    static ShellOpenHandler handler = OpenWithDesktop;
    return handler;
}

}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler)
{
    if (!handler) handler = WriteToStandardError;
    return std::exchange(CurrentMessageHandler(), std::move(handler));
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler)
{
    if (!handler) handler = OpenWithDesktop;
    return std::exchange(CurrentShellOpenHandler(), std::move(handler));
}

void DeliverMessage(MessageKind kind, const std::string& caption, const std::string& text)
{
    CurrentMessageHandler()(kind, caption, text);
}

void DeliverShellOpen(const std::string& target)
{
    CurrentShellOpenHandler()(target);
}

}  // namespace selvane
