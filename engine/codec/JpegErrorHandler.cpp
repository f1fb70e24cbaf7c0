#include "engine/codec/JpegErrorHandler.h"

#include <cstring>

namespace selvane {

namespace {

JpegErrorHandler& HandlerOf(j_common_ptr info)
{
    // manager is the first member, so the err pointer is also the handler's address.
    return *reinterpret_cast<JpegErrorHandler*>(info->err);
}

[[noreturn]] void ExitWithLibraryMessage(j_common_ptr info)
{
    JpegErrorHandler& handler = HandlerOf(info);
    (*info->err->format_message)(info, handler.message);
    std::longjmp(handler.jump, 1);
}

void CountWarning(j_common_ptr info, int level)
{
    if (level >= 0) return;  // trace messages
    if (++info->err->num_warnings > kMaxJpegWarnings)
        FailJpeg(info, "too many errors in the compressed data");
}

void DiscardMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* UseJpegErrorHandler(JpegErrorHandler& handler)
{
    jpeg_error_mgr* manager = jpeg_std_error(&handler.manager);
    manager->error_exit = ExitWithLibraryMessage;
    manager->emit_message = CountWarning;
    manager->output_message = DiscardMessage;
    handler.message[0] = '\0';
    return manager;
}

void FailJpeg(j_common_ptr info, const char* message)
{
    JpegErrorHandler& handler = HandlerOf(info);
    std::strncpy(handler.message, message, sizeof handler.message - 1);
    handler.message[sizeof handler.message - 1] = '\0';
    std::longjmp(handler.jump, 1);
}

}  // namespace selvane
