// Requests to stop from the console on Windows: Ctrl+C, Ctrl+Break and the
// console window being closed.
#include <atomic>

#include "platform/StopSignals.h"
#include "platform/win32/SystemHeaders.h"

namespace platform {
namespace {

std::atomic<bool> stopRequested{false};

BOOL WINAPI NoteStopRequest(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            stopRequested = true;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

StopSignals::StopSignals() {
    stopRequested = false;
    ::SetConsoleCtrlHandler(NoteStopRequest, TRUE);
}

StopSignals::~StopSignals() { ::SetConsoleCtrlHandler(NoteStopRequest, FALSE); }

bool StopSignals::StopRequested() const { return stopRequested; }

}  // namespace platform
