// The purge speed test: writes a test file of 1 MB (100 KB on drives A and
// B) to the root of a chosen drive, purges it with the current purge type
// while timing the purge, reports the speed for a single overwrite and the
// times for some typical amounts, and keeps the speed for that drive in the
// main window's sngPurgeSpeed for the rest of the session, where the
// listing and the single-file estimate find it.
//
// The purge is timed with a monotonic clock, and the purge library flushes
// every pass inside the timed interval, so a fast page cache cannot pass
// for a fast disk. A time too short to measure stores no speed.
#pragma once

#include <functional>
#include <string>

struct PurgeSpeedTestOptions {
    // Asks "Do you wish to proceed with this test?" first (the command-line
    // mode answers yes for the user).
    bool askFirst = true;
    // Shows the result in a message box; otherwise it is only returned.
    bool showResult = true;
};

struct PurgeSpeedTestOutcome {
    bool measured = false;  // a speed was stored
    std::string message;    // the result message, when measured
};

// Runs the test from the main window (its labels, strLastDrive and
// sngPurgeSpeed); all its message boxes are titled "Test purge speed".
PurgeSpeedTestOutcome TestPurgeSpeed(const PurgeSpeedTestOptions& options = {});

// The result message for a purge of the test file on drive D (upper case)
// with N overwrites that took t seconds (already scaled to 1 MB) and ended
// with result code r; floppy for drives A and B.
std::string PurgeSpeedMessage(const std::string& D, int N, double t, bool floppy, int r);

// Seconds since the last StopWatch(false), from a clock that never jumps;
// StopWatch(false) starts it and returns 0.
double StopWatch(bool stop);
// Tests replace the clock (seconds from any fixed point); empty restores it.
void SetStopWatchClockForTesting(std::function<double()> clock);
