#include "disk/PurgeSpeedTest.h"

#include <chrono>
#include <cmath>
#include <cstdint>

#include "disk/DiskProc.h"
#include "disk/FillLeftovers.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "platform/NewFiles.h"
#include "purge/FileProc.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "ui/Ui.h"

namespace {

const char* const kTitle = "Test purge speed";
const std::string kCrLf = "\r\n";
constexpr std::int32_t kTestBytes = 1048576;
constexpr std::int32_t kFloppyTestBytes = 102400;
constexpr std::int32_t kDarkRed = 128;

std::function<double()>& ClockOverride() {
    static std::function<double()> clock;
    return clock;
}

double Now() {
    if (ClockOverride()) return ClockOverride()();
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

// Whole seconds, halves to the even neighbour.
std::int32_t RoundedSeconds(double seconds) {
    return static_cast<std::int32_t>(std::nearbyint(seconds));
}

std::string Duration(double seconds, bool roundUp = true) {
    return FormatSeconds(RoundedSeconds(seconds), true, roundUp);
}

void Say(const std::string& text, ui::Icon icon = ui::Icon::None) {
    ui::TheUi().MsgBox(text, ui::Buttons::OK, icon, kTitle);
}

// The drive the test preselects: the last one chosen, else the first fixed
// drive when no folder is specified, else the drive of the folder.
std::string PreselectedDrive(const PurgeSpeedTestRun& run) {
    if (!run.strLastDrive.empty()) return run.strLastDrive;
    if (run.strFolderPath.empty()) return FirstFixedDrive();
    return run.strFolderPath.substr(0, 1);
}

// Deletes the test file, if the fill created one, ignoring any failure.
void DeleteTestFile(frmFillDisk& fill) {
    platform::FolderHandle* folder = fill.DummyFolder();
    if (folder == nullptr || fill.DummyEntry().name.empty()) return;
    platform::TheNewFiles().DeleteIfStill(*folder, fill.DummyEntry().name,
                                          fill.DummyEntry().identity);
    if (!folder->Look(fill.DummyEntry().name)) ForgetDummyFile(fill.strDummyFile);
}

// Purges the test file pass by pass, deleting it after the last; the
// label shows the passes done. The last result code.
std::int16_t PurgeTestFile(PurgeSpeedTestHost& host, frmFillDisk& fill, int type, int passes) {
    std::int16_t r = 0;
    for (int i = 1; i <= passes; ++i) {
        if (passes > 1) {
            host.PurgeSpeedLabel().SetCaption("Testing " + std::string("123456789").substr(0, i) +
                                              std::string(10, '_').substr(0, passes - i));
            host.Window().Refresh();
        }
        PurgeFile(*fill.DummyFolder(), fill.DummyEntry(), fill.strDummyFile,
                  static_cast<std::int16_t>(type), 1, i == passes, false, true, false, -1, r,
                  nullptr);
        if (r != 0) {
            DeleteTestFile(fill);
            break;
        }
    }
    if (r == 0) ForgetDummyFile(fill.strDummyFile);
    return r;
}

}  // namespace

double StopWatch(bool stop) {
    static double start = 0;
    if (!stop) {
        start = Now();
        return 0;
    }
    return Now() - start;
}

void SetStopWatchClockForTesting(std::function<double()> clock) {
    ClockOverride() = std::move(clock);
}

std::string PurgeSpeedMessage(const std::string& D, int N, double t, bool floppy, int r) {
    std::string timeText = t < 60 ? FormatNumber(t, 1) + " seconds" : Duration(t, false);
    std::string M = "Time to purge a 1 MB file on Drive " + D + " using " + std::to_string(N) +
                    " overwrite" + (N > 1 ? "s" : "") + " is " + timeText + "." + kCrLf;
    M += "The purge speed is thus approximately " + FormatNumber(N / t, 3) +
         " MB/sec. for a single overwrite." + kCrLf + kCrLf;
    if (floppy) {
        M += "It thus requires approximately" + kCrLf + Duration(t * 1.4) +
             " to purge 1.4 MB using" + " " + std::to_string(N) + " overwrites." + kCrLf;
    } else {
        M += "It thus requires, using this type of purge, approximately" + kCrLf +
             Duration(t * 10, false) + " to purge 10 MB, " + Duration(t * 100) +
             " to purge 100 MB" + kCrLf + "and " + Duration(t * 1024) + " to purge 1 GB.";
    }
    if (N > 1) {
        M += kCrLf + kCrLf +
             "To reduce the time required reduce the number of overwrites in the "
             "purge type.";
    }
    if (r == -4 || r == -5 || r == -6) M += kCrLf + kCrLf + "(Unable to delete test file.)";
    return M;
}

PurgeSpeedTestOutcome TestPurgeSpeed(const PurgeSpeedTestRun& run, PurgeSpeedTestHost& host,
                                     const PurgeSpeedTestOptions& options) {
    ui::Control& speedLabel = host.PurgeSpeedLabel();
    if (options.askFirst &&
        ui::TheUi().MsgBox("This writes a 1 MB test file to a selected drive and then purges it "
                           "to test the purge speed" +
                               kCrLf + "for that drive " +
                               "so as to get a reliable estimate of purge time required for other "
                               "files." +
                               kCrLf + kCrLf + "Do you wish to proceed with this test?",
                           ui::Buttons::YesNo, ui::Icon::None, kTitle) != ui::Answer::Yes) {
        return {};
    }

    std::string drive = PreselectedDrive(run);
    double freeBytes = 0;
    const int top = run.intTop;
    const int left = run.intLeft;
    const std::int16_t code = SelectDrive(host.SpecifyDrive(), top, left, 1500, kDarkRed, drive,
                                          freeBytes, dblDiskTotalBytes);
    const std::string D = UpperCase(host.SpecifyDrive().CurrentDrive());
    host.DriveChosen(D);
    const bool floppy = !D.empty() && (D[0] == 'A' || D[0] == 'B');

    const int type = run.intPurgeType;
    const int passes = run.intNumberOfPasses;
    const int N = run.intNumOverwrites;
    if (floppy && N > 1) {
        Say("This purge speed test cannot be used with disks in Drives A or B" + kCrLf +
            "unless the type of purge consists of only one overwrite.");
        return {};
    }
    if (code == kDriveNotFixedOrRemovable || code == kDriveNoDisk || code == kDriveOtherError) {
        Say(SelectDriveMessage(code, D), ui::Icon::Exclamation);
    }
    if (code != kDriveAccepted) return {};

    const std::int32_t testBytes = floppy ? kFloppyTestBytes : kTestBytes;
    if (freeBytes < testBytes) {
        Say((freeBytes <= 0
                 ? "Drive " + D + " is full."
                 : "Drive " + D + " has only " + FormatNumber(freeBytes, 0) + " bytes free.") +
            kCrLf + "At least 1 MB of free space is required for this test.");
        return {};
    }

    speedLabel.SetFontBold(true);
    speedLabel.SetCaption("Testing ...");
    frmFillDisk& fill = host.FillDisk();
    fill.blnFillDisk = false;
    fill.strDrive = D.substr(0, 2);
    fill.MoveTo(left, top);
    fill.dblFreeSpace = freeBytes;
    fill.lngFilesize = testBytes;
    fill.ShowModal();
    // However the test ends, the drive is not kept open after it.
    struct LetGo {
        frmFillDisk& fill;
        ~LetGo() { fill.LetGoOfDrive(); }
    } letGo{fill};
    host.Window().Refresh();
    if (!fill.bln1MbFileWritten) {
        speedLabel.SetCaption("");
        Say("An error was encountered in writing the test file " + VisibleText(fill.strDummyFile) +
                "." + kCrLf + "The test cannot be continued.",
            ui::Icon::Exclamation);
        DeleteTestFile(fill);
        return {};
    }

    host.ShowEstimatedTime("");
    host.Window().Refresh();
    StopWatch(false);
    const std::int16_t r = PurgeTestFile(host, fill, type, passes);
    double t = StopWatch(true);
    speedLabel.SetCaption("");
    speedLabel.SetFontBold(false);
    host.Window().Refresh();

    if (r == -9) {
        Say("Invalid cluster size reported.  Test aborted.", ui::Icon::Exclamation);
        return {};
    }
    // Only a purge that overwrote the file is a measurement: every failure
    // but a failed deletion aborts the test rather than report a speed.
    if (r != 0 && r != -4 && r != -5 && r != -6) {
        Say("Error " + std::to_string(r) + " when opening or writing to file.  " + "Test aborted.",
            ui::Icon::Exclamation);
        return {};
    }
    if (floppy) t = t * 1024 / 100;
    if (t <= 0) {
        Say("The test was too fast to measure: no purge speed was stored for Drive " + D + ".");
        return {};
    }

    PurgeSpeedTestOutcome outcome{true, PurgeSpeedMessage(D, N, t, floppy, r)};
    if (options.showResult) Say(outcome.message);
    const float S = static_cast<float>(N / t);
    speedLabel.SetCaption(FormatNumber(S, 3) + " MB/sec. (1 overwrite) for Drive " +
                          D.substr(0, 1));
    host.SpeedMeasured(D[0], S);
    return outcome;
}
