#include "app/CommandLineProgress.h"

#include <cmath>
#include <ostream>

#include "app/Forms.h"
#include "app/RunFileCount.h"
#include "disk/frmFillDisk.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "purge/frmReport.h"

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(250);
constexpr double kBytesPerMB = 1048576.0;
// Wider lines would wrap on a narrow terminal and no longer redraw in place.
constexpr std::size_t kMostCharacters = 79;

std::string Shortened(const std::string& text) {
    std::u32string chars = DecodeUtf8(text);
    if (chars.size() <= kMostCharacters) return text;
    return EncodeUtf8(chars.substr(0, kMostCharacters - 3)) + "...";
}

}  // namespace

std::string FillProgressText(const std::string& drive, double written, double total,
                             double bytesPerSecond) {
    std::string text = "Filling " + drive + " " + FormatNumber(written, 0) + " of " +
                       FormatNumber(total, 0) + " bytes";
    if (total > 0) text += " (" + std::to_string(int(std::floor(written * 100 / total))) + "%)";
    if (bytesPerSecond > 0) {
        text += ", " + FormatNumber(bytesPerSecond / kBytesPerMB, 1) + " MB/sec";
        const double left = std::max(0.0, total - written) / bytesPerSecond;
        text += ", " + FormatSeconds(static_cast<std::int32_t>(std::ceil(left)), false, false) +
                " left";
    }
    return text;
}

std::string RunProgressText(bool purging, std::int32_t files, std::int64_t total,
                            const std::string& folder) {
    std::string text = std::string(purging ? "Purged " : "Listed ") + FormatNumber(files, 0);
    // Files made meanwhile may take the run past its count.
    if (total >= 0) text += " of " + FormatNumber(double(std::max<std::int64_t>(total, files)), 0);
    const bool one = (total >= 0 ? std::max<std::int64_t>(total, files) : files) == 1;
    return text + (one ? " file" : " files") + ", in " + VisibleText(folder);
}

void ProgressLine::Update(FormSet& windows) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    frmFillDisk& fill = windows.FillDisk();
    if (fill.Visible() && fill.blnFillDisk) {
        const double written = fill.BytesWritten();
        if (!fillSeen_) {
            fillSeen_ = true;
            fillStartBytes_ = written;
            fillStart_ = now;
        }
        if (now - lastDrawn_ < kRedrawEvery) return;
        const double seconds = std::chrono::duration<double>(now - fillStart_).count();
        const double speed = seconds > 0.5 ? (written - fillStartBytes_) / seconds : 0;
        Draw(FillProgressText(fill.strDrive, written, fill.dblFreeSpace, speed));
        return;
    }
    if (fillSeen_) runTotal_ = -1;  // a wipe's run comes after its fill
    fillSeen_ = false;
    frmReport& report = windows.Report();
    const PurgeRun& run = report.Run();
    if (!(run.blnPurgeFiles || run.blnListFiles) || report.CurrentFolder().empty()) return;
    const std::int32_t processed = report.NumFilesProcessed();
    if (processed < lastProcessed_) runTotal_ = -1;  // another run
    lastProcessed_ = processed;
    const bool count = runTotal_ < 0 && (processed == 0 || !run.blnPurgeFiles);
    if (count) {
        // A purge is counted before its first file is gone; a listing
        // removes nothing, so it can be counted at any time.
        Draw("Counting the files...");
        runTotal_ = CountFilesOfRun(run, report.StartFolder());
    } else if (now - lastDrawn_ < kRedrawEvery) {
        return;
    }
    Draw(RunProgressText(run.blnPurgeFiles, processed, runTotal_, report.CurrentFolder()));
}

void ProgressLine::Draw(const std::string& text) {
    lastDrawn_ = std::chrono::steady_clock::now();
    const std::string line = Shortened(text);
    const std::size_t width = DecodeUtf8(line).size();
    err_ << '\r' << line;
    if (width < drawnWidth_) err_ << std::string(drawnWidth_ - width, ' ');
    err_ << std::flush;
    drawnWidth_ = std::max(width, drawnWidth_);
}

void ProgressLine::Clear() {
    if (drawnWidth_ == 0) return;
    err_ << '\r' << std::string(drawnWidth_, ' ') << '\r' << std::flush;
    drawnWidth_ = 0;
}
