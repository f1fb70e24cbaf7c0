// The top-level error handler: an error that nobody else handled is shown in an error box
// with its message and written, with a time stamp, to the error report file in the
// settings folder; then the program goes on.
//
// QtGui and QtWidgets are built without exception support, so an exception must never
// unwind through their frames: the main window's handlers are connected through Reporting(),
// which catches at the handler's edge, and TResizerApplication::notify catches what an
// event handler lets through. ReportUnhandledError itself never throws.
// User-interface thread only.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace selvane {

inline constexpr const char* kErrorReportFileName = "ErrorReport.log";

// The settings folder followed by kErrorReportFileName.
std::string ErrorReportPath();

// Appends "YYYY-MM-DD HH:MM:SS <message>" to the error report file, then shows the error
// box. An empty message is reported as "Unknown error".
void ReportUnhandledError(const std::string& message);

// Runs body; an exception that leaves it is reported and goes no further.
template <class Body>
void RunReportingErrors(Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& error) {
        ReportUnhandledError(error.what());
    } catch (...) {
        ReportUnhandledError("");
    }
}

// A slot for connect() that runs (receiver->*method)(arguments...) under RunReportingErrors.
template <class Receiver, class... Args>
auto Reporting(Receiver* receiver, void (Receiver::*method)(Args...))
{
    return [receiver, method](Args... arguments) {
        RunReportingErrors([&] { (receiver->*method)(arguments...); });
    };
}

}  // namespace selvane
