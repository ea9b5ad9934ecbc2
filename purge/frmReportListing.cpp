// The listing: the walk that lists the selected files with their sizes, and
// the summary with the purge-time estimate.
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/FileSystem.h"
#include "purge/FolderTrail.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "purge/WalkRules.h"
#include "purge/frmReport.h"

namespace {

const char* const kCrLf = "\r\n";
constexpr double kBytesPerKB = 1024.0;
constexpr double kBytesPerMB = 1048576.0;

std::string WithBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

// Seconds of an estimate as the 32-bit count FormatSeconds takes; an
// estimate beyond it (petabytes on a floppy) is shown as the largest.
std::int32_t WholeSeconds(double seconds) {
    double rounded = std::nearbyint(seconds);  // halves to even
    if (!(rounded < static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

frmReport::MatchCount frmReport::CountMatching(
    const std::vector<platform::FolderEntry>& entries, const std::string& fileSpec) {
    MatchCount count;
    for (const auto& entry : entries) {
        if (entry.kind == platform::EntryKind::Folder) continue;
        if (!NameMatchesSpec(entry.name, fileSpec, false)) continue;
        ++count.matching;
        if (entry.kind == platform::EntryKind::File) ++count.files;
    }
    return count;
}

void frmReport::ReportSkippedEntry(const std::string& line, const std::string& why) {
    ++lngNumEntriesSkipped;
    if (why.empty()) return;
    Append(line + why + kCrLf);
    ++intReportLines;
}

void frmReport::ListFolder(std::string folder, const std::string& fileSpec) {
    folder = WithBackslash(NormalizePathCase(folder));
    try {
        auto dir = platform::Files().OpenFolder(folder);
        if (!dir) {
            ReportSkippedEntry(
                run_.blnDisplayFolderNames ? "" : kCrLf,
                "Cannot read folder " + VisibleText(folder) + "; its files are not listed.");
            return;
        }
        ListFolderAt(*dir, folder, fileSpec);
    } catch (const ReportText::Full&) {
        ReportBufferFull();
        SetClockEnabled(false);
    }
}

// A run-time error of the walk is a folder or file that went away or cannot
// be read: each is written in the report and the listing goes on. Only a
// report that can take no more text ends it (ReportText::Full, caught by
// ListFolder).
void frmReport::ListFolderAt(platform::FolderHandle& start, std::string folder,
                             const std::string& fileSpec) {
    const bool subdirectories = run_.blnSubdirectories;
    FolderTrail trail(start, std::move(folder));
    bool justEntered = true;
    while (!trail.Empty()) {
        bool done;
        if (justEntered) {
            done = !ListFilesOf(trail.Current(), trail.Path(), fileSpec) || !subdirectories;
        } else {
            // Back from a subfolder.
            CheckPauseAndStop();
            done = blnStop || CameBackToLostFolder(trail, "listed");
        }
        justEntered = !done && EnterNextSubfolder(trail, "listed");
        if (!justEntered) trail.Leave();
    }
}

bool frmReport::ListFilesOf(FolderTrail::Level& level, const std::string& folder,
                            const std::string& fileSpec) {
    currentFolder_ = folder;
    auto entries = level.dir->Read();
    if (!entries) {
        ReportSkippedEntry(
            run_.blnDisplayFolderNames ? "" : kCrLf,
            "Cannot read folder " + VisibleText(folder) + "; its files are not listed.");
        return false;
    }
    level.entries = std::move(*entries);

    const MatchCount count = CountMatching(level.entries, fileSpec);
    host_->FolderCounted(count.files);
    if (count.matching > 0) {
        if (run_.blnDisplayFolderNames) {
            Append(VisibleText(folder) + kCrLf);
            ++intReportLines;
        } else {
            Append(".");
        }
    }

    const bool showFiles = run_.blnListFiles && run_.blnDisplayFileNames;
    for (const auto& entry : level.entries) {
        if (entry.kind == platform::EntryKind::Folder) continue;
        if (!NameMatchesSpec(entry.name, fileSpec, false)) continue;
        if (auto why = WhyFileIsLeft(entry, level.dir->Identity())) {
            ReportSkippedEntry(ShownName(entry.name, *level.dir), showFiles ? ": " + *why + ", not listed." : "");
        } else {
            ++lngNumFilesProcessed;
            if (showFiles) {
                Append(ShownName(entry.name, *level.dir) + " (" +
                       FormatNumber(static_cast<double>(entry.size), 0) + " bytes)   " + kCrLf);
                ++intReportLines;
            }
            dblTotalFileBytes += static_cast<double>(entry.size);
        }
        CheckPauseAndStop();
        if (blnStop) return false;
    }
    return true;
}

bool frmReport::EnterNextSubfolder(FolderTrail& trail, const std::string& notDone) {
    FolderTrail::Level& level = trail.Current();
    while (level.next < level.entries.size()) {
        const platform::FolderEntry& entry = level.entries[level.next++];
        if (entry.kind != platform::EntryKind::Folder) continue;
        const std::string subfolder = trail.SubfolderPath(entry.name);
        auto left = WhySubfolderIsLeft(entry, level.dir->Identity());
        auto sub = left ? nullptr : level.dir->OpenSubfolder(entry.name, entry.identity);
        if (!sub) {
            // Also where the handles a process may hold have run out: the
            // folders below this one are not reached, and the run goes on.
            ReportSkippedEntry(StartOfSkippedFolderLine(),
                               left
                                   ? VisibleText(subfolder) + " " + *left + "; not " + notDone + "."
                                   : "Cannot read folder " + VisibleText(subfolder) +
                                         "; its files are not " + notDone + ".");
            continue;
        }
        run_.strNextDirPath = subfolder;
        trail.Enter(std::move(sub), entry.name);
        return true;
    }
    return false;
}

bool frmReport::CameBackToLostFolder(FolderTrail& trail, const std::string& notDone) {
    if (trail.Current().dir != nullptr) return false;
    ReportSkippedEntry(StartOfSkippedFolderLine(),
                       "Cannot read folder " + VisibleText(trail.Path()) +
                           " again; the rest of it is not " + notDone + ".");
    return true;
}

std::string frmReport::StartOfSkippedFolderLine() const {
    if (!run_.blnPurgeFiles) return run_.blnDisplayFolderNames ? "" : kCrLf;
    return AtLineStart() ? "" : kCrLf;
}

void frmReport::WriteListingSummary() {
    if (dblTotalFileBytes == 0) {
        AppendAnyway(std::string("Total KB: 0") + kCrLf + kCrLf);
    } else if (dblTotalFileBytes < kBytesPerMB) {
        AppendAnyway("Total KB: " + FormatNumber(dblTotalFileBytes / kBytesPerKB, 2) + kCrLf +
                     kCrLf);
    } else {
        AppendAnyway("Total MB: " + FormatNumber(dblTotalFileBytes / kBytesPerMB, 2) + kCrLf +
                     kCrLf);
    }
    ++intReportLines;
    if (blnStop) {
        AppendAnyway(std::string("File listing was stopped.") + kCrLf + kCrLf);
        intReportLines += 2;
    }
    if (dblTotalFileBytes == 0) return;
    AppendAnyway("Purge type: " + run_.strTypeOfPurge + kCrLf);
    ++intReportLines;
    WriteEstimate();
}

void frmReport::WriteEstimate() {
    const std::string& folder =
        run_.strFolderPath.empty() ? run_.strNextDirPath : run_.strFolderPath;
    const char d = folder.empty()
                       ? '\0'
                       : static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
    const bool floppy = d == 'A' || d == 'B';
    double speed = 1.0;
    bool measured = false;
    if (floppy) {
        speed = 1.0 / 60.0;
    } else if (d >= 'C' && d <= 'Z' && run_.sngPurgeSpeed[d - 'A'] > 0) {
        speed = run_.sngPurgeSpeed[d - 'A'];
        measured = true;
    }
    const std::int32_t seconds =
        WholeSeconds(dblTotalFileBytes / kBytesPerKB / kBytesPerKB / speed * run_.intNumOverwrites);

    const std::string lessThanTen = "Less than 10 seconds.";
    if (seconds < 10) {
        AppendAnyway("Estimated purge time: " + LowerCase(lessThanTen) + kCrLf);
        host_->ShowEstimatedTime(lessThanTen);
        return;
    }
    if (floppy) {
        AppendAnyway("Estimated minimum purge time (assuming purge speed of 1 MB/minute):");
    } else if (measured) {
        AppendAnyway("Estimated minimum purge time (based on measured purge speed of " +
                     FormatNumber(speed, 3) + " MB/sec.):");
    } else {
        AppendAnyway("Estimated minimum purge time (assuming purge speed of 1 MB/sec.):");
    }
    AppendAnyway(kCrLf);
    ++intReportLines;

    std::string text =
        seconds < 300 ? FormatSeconds(seconds, true, false) : FormatSecondsRoundUp(seconds, true);
    if (blnStop) {
        AppendAnyway("more than ");
    } else {
        host_->ShowEstimatedTime(text);
    }
    AppendAnyway(text);
    if (seconds > 60) AppendAnyway(".  The actual time could be greater than this.");
    AppendAnyway(kCrLf);
    ++intReportLines;
    if (d >= 'C' && d <= 'Z' && !measured) {
        AppendAnyway(std::string("For a more accurate estimate of the purge time test the purge "
                                 "speed for Drive ") +
                     d + "." + kCrLf);
        ++intReportLines;
    }
}
