#include <signal.h>

#include <csignal>

#include "platform/StopSignals.h"

namespace platform {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t stopRequested = 0;
struct sigaction previous[3];

extern "C" void NoteStopRequest(int) { stopRequested = 1; }

}  // namespace

StopSignals::StopSignals() {
    stopRequested = 0;
    struct sigaction action {};
    action.sa_handler = NoteStopRequest;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for the user's answer on the terminal ends, and
    // is taken as "no". The purge library continues an interrupted write,
    // so the file being purged is finished all the same.
    action.sa_flags = 0;
    for (int i = 0; i < 3; ++i) ::sigaction(kStopSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) ::sigaction(kStopSignals[i], &previous[i], nullptr);
}

bool StopSignals::StopRequested() const { return stopRequested != 0; }

}  // namespace platform
