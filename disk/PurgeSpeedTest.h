// The purge speed test: writes a test file of 1 MB (100 KB on drives A and
// B) to the root of a chosen drive, purges it with the current purge type
// while timing the purge, reports the speed for a single overwrite and the
// times for some typical amounts, and hands the speed for that drive to the
// window it started from (the main window's sngPurgeSpeed, kept for the
// rest of the session, where the listing and the single-file estimate find
// it).
//
// The purge is timed with a monotonic clock, and the purge library flushes
// every pass inside the timed interval, so a fast page cache cannot pass
// for a fast disk. A time too short to measure stores no speed.
#pragma once

#include <functional>
#include <string>

class frmFillDisk;
class frmSpecifyDrive;
namespace ui {
class Control;
class Form;
}  // namespace ui

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

// What the test starts from: the drive last chosen and the selected folder
// (which preselect the drive), the purge type, and where its windows open.
struct PurgeSpeedTestRun {
    std::string strLastDrive;  // "C:", or ""
    std::string strFolderPath;
    int intPurgeType = 1;
    int intNumberOfPasses = 1;
    int intNumOverwrites = 1;
    int intTop = 0;
    int intLeft = 0;
};

// The windows around the test.
class PurgeSpeedTestHost {
  public:
    virtual ~PurgeSpeedTestHost() = default;
    virtual frmSpecifyDrive& SpecifyDrive() = 0;
    virtual frmFillDisk& FillDisk() = 0;
    // The window the test was started from, redrawn as it goes, and its
    // label that shows "Testing ..." and then the speed.
    virtual ui::Form& Window() = 0;
    virtual ui::Control& PurgeSpeedLabel() = 0;
    virtual void ShowEstimatedTime(const std::string& text) = 0;
    // The drive chosen ("C:") becomes the last drive chosen.
    virtual void DriveChosen(const std::string& D) = 0;
    // The speed S in MB/sec. for one overwrite measured on drive L.
    virtual void SpeedMeasured(char L, float S) = 0;
};

// Runs the test; all its message boxes are titled "Test purge speed".
PurgeSpeedTestOutcome TestPurgeSpeed(const PurgeSpeedTestRun& run, PurgeSpeedTestHost& host,
                                     const PurgeSpeedTestOptions& options = {});

// The result message for a purge of the test file on drive D (upper case)
// with N overwrites that took t seconds (already scaled to 1 MB) and ended
// with result code r; floppy for drives A and B.
std::string PurgeSpeedMessage(const std::string& D, int N, double t, bool floppy, int r);

// Seconds since the last StopWatch(false), from a clock that never jumps;
// StopWatch(false) starts it and returns 0.
double StopWatch(bool stop);
// Tests replace the clock (seconds from any fixed point); empty restores it.
void SetStopWatchClockForTesting(std::function<double()> clock);
