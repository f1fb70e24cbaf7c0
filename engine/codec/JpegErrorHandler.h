// Error handling shared by the JPEG decoder and encoder. libjpeg reports a fatal error by
// calling error_exit, which must not return: ours keeps the library's message and
// longjmps back to the setjmp of the function driving the library. That function keeps
// only trivially destructible locals, holds its C++ objects in its caller, and turns the
// message into an exception once back from the jump.
//
// Warnings (corrupt entropy data, a missing end marker) are counted, not printed; past
// kMaxJpegWarnings the handler fails as for an error, so a stream of garbage cannot keep
// the decoder busy resynchronising.
#pragma once

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

namespace selvane {

inline constexpr long kMaxJpegWarnings = 1000;

struct JpegErrorHandler {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Sets up `handler` and returns what goes into the err field of a libjpeg object.
jpeg_error_mgr* UseJpegErrorHandler(JpegErrorHandler& handler);

// Fails the current libjpeg call with `message`: for checks made in callbacks.
[[noreturn]] void FailJpeg(j_common_ptr info, const char* message);

}  // namespace selvane
