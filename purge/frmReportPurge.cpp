// The purge run: its opening lines, the walk that purges each matching file
// and removes emptied folders, and its summary.
#include <array>
#include <cmath>

#include "disk/DiskProc.h"
#include "disk/WipeHardLinks.h"
#include "platform/FileSystem.h"
#include "platform/NewFiles.h"
#include "purge/FileProc.h"
#include "purge/FolderTrail.h"
#include "purge/NumberFormat.h"
#include "purge/RunDate.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "purge/WalkRules.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmFileOps.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmPurgeWarning.h"
#include "purge/frmReport.h"
#include "ui/Ui.h"

namespace {

const char* const kCrLf = "\r\n";
constexpr double kBytesPerKB = 1024.0;
constexpr double kBytesPerMB = 1048576.0;
constexpr double kBytesPerGB = 1073741824.0;

std::string WithBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

// A drive's top folder: a drive letter, a colon and a backslash. A longer
// text cannot be one, whatever it decodes to, so a deep folder's path is
// never decoded for nothing.
bool IsDriveRoot(const std::string& folder) {
    constexpr std::size_t kMostBytesOfThreeCharacters = 12;
    return folder.size() <= kMostBytesOfThreeCharacters && DecodeUtf8(folder).size() == 3;
}

// Index of the drive a path starts with in the per-drive tables; -1 if none.
int DriveIndexOf(const std::string& path) {
    if (path.empty()) return -1;
    char d = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    return d >= 'A' && d <= 'Z' ? d - 'A' : -1;
}

// Text written after the name of a file that was not purged.
std::string ResultText(std::int16_t code, const std::string& extension) {
    switch (code) {
        case kPurgeReadOnlyRefused:
            return std::string(": file is read-only, not purged.") + kCrLf +
                   "(Perhaps file is in use by another program.)";
        case -9:
            return ": invalid cluster size.";
        case -8:
            return ": invalid purge type.";
        case -7:
            return ": error when flushing file.";
        case -6:
        case -5:
        case -4:
            return ": file overwritten but not deleted.";
        case -3:
            return ": error when writing to file.";
        case kPurgeFileGrew:
            return ": file grew while it was overwritten, not purged.";
        case kPurgeOtherLinks:
            return ": file has other hard links, not purged.";
        case kPurgeFileReplaced:
            return ": file was replaced while the run went on, not purged.";
        case -2:
            return ": unable to open file for writing.";
        case frmFileOps::kInProgramFolder:
            return ": a file in the current application folder, not purged.";
        case frmFileOps::kSwapFile:
            return ": the swap file, not purged.";
        case frmFileOps::kSensitiveNotAllowed:
            return ": \"" + extension + "\" files are not purged.";
        default:
            return " NOT purged.";
    }
}

// The speed that decides whether a file is large enough for progress marks.
double BytesPerSecondFor(const std::string& folder, const std::array<float, 26>& sngPurgeSpeed) {
    const int d = DriveIndexOf(folder);
    double speed = 1.0;
    if (d == 0 || d == 1) {
        speed = 1.0 / 60.0;
    } else if (d > 1 && sngPurgeSpeed[d] > 0) {
        speed = sngPurgeSpeed[d];
    }
    return std::nearbyint(speed * kBytesPerMB);
}

enum class WipeLinkStep { NotAMatter, KeepWhole, NameRemoved, LastName };

// A file with several names met by a wipe's run: when all its names lie in
// the wiped part, every name but the last is removed (after checking it is
// still that file) and the file is purged under the last one.
WipeLinkStep RemoveWipedHardLink(platform::FolderHandle& dir, const platform::FolderEntry& entry) {
    HardLinkCensus* census = WipeLinkCensus();
    if (census == nullptr || entry.kind != platform::EntryKind::File ||
        WhyFileIsLeft(entry, dir.Identity()).value_or(kOtherHardLinks) != kOtherHardLinks) {
        return WipeLinkStep::NotAMatter;
    }
    auto now = dir.Look(entry.name);
    if (!now || !(now->identity == entry.identity)) return WipeLinkStep::NotAMatter;
    switch (census->StepFor(now->identity, now->links)) {
        case HardLinkCensus::Step::KeepWhole:
            return WipeLinkStep::KeepWhole;
        case HardLinkCensus::Step::PurgeLastName:
            return WipeLinkStep::LastName;
        case HardLinkCensus::Step::RemoveThisName:
            break;
    }
    if (!platform::TheNewFiles().DeleteIfStill(dir, entry.name, entry.identity)) {
        return WipeLinkStep::KeepWhole;
    }
    census->NameRemoved(entry.identity);
    return WipeLinkStep::NameRemoved;
}

}  // namespace

void frmReport::WritePurgeHeader() {
    Append(ShortDateAndTime() + kCrLf);
    // As the main window shows the selection.
    const std::string folderShown = ShortenPath(VisibleText(run_.strNextDirPath), 70);
    const std::string specShown = VisibleText(run_.strCurrentFileSpec);
    if (specShown == "*.*") {
        Append("Purging all files in " + folderShown + " ");
        if (run_.blnSubdirectories)
            Append(std::string("(including all files") + kCrLf + "in subfolders) ");
    } else {
        Append("Purging " + folderShown + specShown + " ");
        if (run_.blnSubdirectories) {
            Append("(including " + specShown + " files" + kCrLf + "in subfolders) ");
        }
    }
    Append("using " + run_.strPurgeTypeNumPasses + "." + kCrLf);

    // The exclusions belong to the wipe that set them, never to a later purge.
    const bool keepTopFiles = run_.blnWipeDisk && run_.blnKeepTopFiles;
    const int numExcluded = run_.blnWipeDisk ? static_cast<int>(run_.strExcludedFolders.size()) : 0;
    if (keepTopFiles || numExcluded > 0) {
        std::string text = "Except that ";
        if (keepTopFiles) {
            text += "top-level files ";
            if (numExcluded > 0) text += "and ";
        }
        text += "files in the following folder";
        if (numExcluded > 1) text += "s";
        text += std::string(kCrLf) + "(and in all subfolders) will not be purged:" + kCrLf;
        for (int i = 0; i < numExcluded; ++i) text += run_.strExcludedFolders[i] + kCrLf;
        Append(text);
    }

    host_->FileOps().SetSensitiveFileExtensions(run_.blnWipeDisk ? 1 : 0);
    if (run_.blnConfirmFiles) blnPurgeRemainingFiles = false;
}

void frmReport::PurgeFolder(std::string folder, std::string fileSpec, bool purgeSlack) {
    folder = WithBackslash(NormalizePathCase(folder));
    std::shared_ptr<platform::FolderHandle> dir = run_.heldFolder;
    if (!dir) dir = platform::Files().OpenFolder(folder);
    if (!dir) {
        // The folder went away or cannot be read: said in the report.
        ++lngNumEntriesSkipped;
        Append("Cannot read folder " + VisibleText(folder) + "; its files are not purged." + kCrLf);
        ++intReportLines;
        return;
    }
    PurgeFolderAt(*dir, folder, std::move(fileSpec), purgeSlack);
}

void frmReport::PurgeFolderAt(platform::FolderHandle& start, std::string folder,
                              std::string fileSpec, bool purgeSlack) {
    const double bytesPerSecond = BytesPerSecondFor(run_.strFolderPath, run_.sngPurgeSpeed);
    // A wipe's subfolders are purged whole; the start folder may keep its
    // top-level files.
    const std::string subfolderSpec = run_.blnWipeDisk ? "*.*" : fileSpec;
    FolderTrail trail(start, std::move(folder));
    std::unique_ptr<platform::FolderHandle> walked;  // the subfolder just come back from
    bool justEntered = true;
    while (!trail.Empty()) {
        bool done;
        if (justEntered) {
            done = !PurgeFilesOf(trail.Current(), trail.Path(),
                                 trail.Depth() == 1 ? fileSpec : subfolderSpec, purgeSlack,
                                 bytesPerSecond) ||
                   !run_.blnSubdirectories;
        } else {
            done = !FinishSubfolder(trail, std::move(walked));
        }
        justEntered = !done && EnterNextSubfolder(trail, "purged");
        if (!justEntered) walked = trail.Leave();
    }
}

bool frmReport::FinishSubfolder(FolderTrail& trail, std::unique_ptr<platform::FolderHandle> sub) {
    if (blnStop) {
        Append(kCrLf);
        ++intReportLines;
        return false;
    }
    if (CameBackToLostFolder(trail, "purged")) return false;
    if (!run_.blnDeleteEmptyFolders || !sub) return true;
    FolderTrail::Level& level = trail.Current();
    const std::string name = level.entries[level.next - 1].name;
    auto rest = sub->Read();
    const platform::FileIdentity emptied = sub->Identity();
    // Closed first: a folder removed while still open lingers until its
    // last handle goes.
    sub.reset();
    // The file system's own lost+found is emptied but kept: its checker
    // needs it where it is.
    const bool lostAndFound = run_.blnWipeDisk && name == "lost+found" && IsDriveRoot(trail.Path());
    if (rest && rest->empty() && !lostAndFound) {
        RemoveEmptiedFolder(*level.dir, name, emptied, trail.Path() + name);
    }
    return true;
}

bool frmReport::PurgeFilesOf(FolderTrail::Level& level, const std::string& folder,
                             std::string fileSpec, bool purgeSlack, double bytesPerSecond) {
    platform::FolderHandle& dir = *level.dir;
    currentFolder_ = folder;

    // A wipe reports folder names only, yet what it leaves is always said.
    const bool namesOnly = run_.blnFolderNamesOnly;
    auto sayLeft = [&](const std::string& text) {
        if (namesOnly) {
            AppendOwnLine(text);
        } else {
            AddReportText(text);
        }
    };

    if (run_.KeepsFolder(dir.Identity())) {
        AppendOwnLine(kCrLf + VisibleText(folder) + " is an excluded folder.");
        return false;
    }

    auto entries = dir.Read();
    if (!entries) {
        ++lngNumEntriesSkipped;
        AppendOwnLine("Cannot read folder " + VisibleText(folder) + "; its files are not purged.");
        ++intReportLines;
        return false;
    }
    level.entries = std::move(*entries);

    const bool keepingTopFiles = run_.blnWipeDisk && run_.blnKeepTopFiles && IsDriveRoot(folder);
    if (keepingTopFiles) {
        // Only the fill files are purged at the root: the files this wipe's
        // fill wrote, not a user's file that happens to be named alike.
        fileSpec = "dummy*";
    }

    const MatchCount count = CountMatching(level.entries, fileSpec);
    host_->FolderCounted(count.files);
    if (count.matching == 0) return true;

    if (!blnReportSuspended) {
        if (!run_.blnWipeDisk) {
            Append(VisibleText(folder) + kCrLf);
        } else {
            std::string line = kCrLf;
            if (DriveIndexOf(folder) >= 2) {
                const double gigabytes = dblTotalFileBytes / kBytesPerGB;
                if (gigabytes < 10) line += " ";
                line += FormatNumber(gigabytes, 3) + " GB ";
                const double share =
                    dblDiskTotalBytes > 0 ? dblTotalFileBytes * 100 / dblDiskTotalBytes : 0;
                if (share < 10) line += " ";
                line += "(" + FormatNumber(share, 2) + "%) ";
            }
            Append(line + VisibleText(folder));
        }
        ++intReportLines;
    }

    const bool oneNamedFile = !HasWildcards(fileSpec);
    for (const auto& entry : level.entries) {
        if (entry.kind == platform::EntryKind::Folder) continue;
        ui::TheUi().DoEvents();
        if (!NameMatchesSpec(entry.name, fileSpec, false) ||
            (keepingTopFiles && !(run_.fillWrote && run_.fillWrote(entry.identity)))) {
            CheckPauseAndStop();
            if (blnStop) {
                // Files gathered and not yet purged are left as a stop
                // before them would leave them.
                purgeBatch_.Clear();
                return false;
            }
            continue;
        }
        if (!oneNamedFile) {
            if (auto length = LengthIfBatchable(dir, folder, entry, bytesPerSecond)) {
                purgeBatch_.Add(entry, *length);
                if ((purgeBatch_.Full() || blnStop) && !PurgeBatchedFiles(dir, folder, purgeSlack))
                    return false;
                continue;
            }
        }
        // What is said next comes after every file gathered before it.
        if (!PurgeBatchedFiles(dir, folder, purgeSlack)) return false;
        const WipeLinkStep step = run_.blnWipeDisk && entry.links > 1
                                      ? RemoveWipedHardLink(dir, entry)
                                      : WipeLinkStep::NotAMatter;
        if (step == WipeLinkStep::NameRemoved) {
            AddReportText(ShownName(entry.name, dir) +
                          ": another name of a file purged under its last name; removed.");
        } else if (step == WipeLinkStep::LastName) {
            platform::FolderEntry last = entry;
            last.links = 1;
            if (!PurgeOneFile(dir, folder, last, purgeSlack, bytesPerSecond)) return false;
        } else if (auto why = WhyFileIsLeft(entry, dir.Identity())) {
            ++lngNumEntriesSkipped;
            sayLeft(ShownName(entry.name, dir) + ": " + *why + ", not purged.");
        } else if (!PurgeOneFile(dir, folder, entry, purgeSlack, bytesPerSecond)) {
            return false;
        }
        AddReportText(kCrLf);
        ++intReportLines;
        CheckPauseAndStop();
        if (blnStop) return false;
        if (oneNamedFile) break;
    }
    if (!PurgeBatchedFiles(dir, folder, purgeSlack)) return false;
    AddReportText(kCrLf);
    ++intReportLines;
    return true;
}

void frmReport::RemoveEmptiedFolder(platform::FolderHandle& parent, const std::string& name,
                                    const platform::FileIdentity& identity,
                                    const std::string& path) {
    // An excluded folder stays, empty or not.
    if (run_.KeepsFolder(identity)) return;
    // Only a removal that worked is reported.
    if (!parent.RemoveSubfolder(name, identity)) return;
    ++intNumFoldersRemoved;
    if (!run_.blnWipeDisk && !blnReportSuspended) {
        Append("Folder " + VisibleText(path) + " removed." + kCrLf + kCrLf);
        ++intReportLines;
    }
}

bool frmReport::PurgeOneFile(platform::FolderHandle& dir, const std::string& folder,
                             const platform::FolderEntry& file, bool purgeSlack,
                             double bytesPerSecond) {
    const PurgeRun& options = run_;
    frmFileOps& fileOps = host_->FileOps();
    const std::string path = folder + file.name;

    ++lngNumFilesProcessed;
    AddReportText(ShownName(file.name, dir));
    // A report of folder names only still names each file left unpurged,
    // with its reason, on a line of its own.
    auto sayNotPurged = [&](const std::string& text) {
        if (options.blnFolderNamesOnly) {
            AppendOwnLine(ShownName(file.name, dir) + text);
        } else {
            AddReportText(text);
        }
    };

    std::int16_t code = fileOps.ExcludedFile(path, dir.Identity(), file.identity);
    if (options.blnOKToPurgeSensitiveFiles && code == frmFileOps::kSensitiveNotAllowed) code = 0;
    const std::string extension = FileExtension(path, true);
    if (code == frmFileOps::kSensitiveNotAllowed) {
        SetClockEnabled(false);
        ShowReportText();
        const char first = extension.empty() ? '\0' : extension[0];
        const bool vowel = first == 'e' || first == 'i' || first == 'o';
        ui::Answer answer = ui::TheUi().MsgBox(
            VisibleText(path) + kCrLf + kCrLf + "You have requested to purge a file with a" +
                (vowel ? "n" : "") + " \"" + extension + "\" extension." + kCrLf +
                "Do you wish to allow all files with this extension to be purged?" + kCrLf +
                "(Permission lasts only during the course of this operation.)",
            ui::Buttons::YesNoCancel, ui::Icon::None, "Purge query", 2);
        SetClockEnabled(true);
        if (answer == ui::Answer::Cancel) {
            AddReportText(std::string(kCrLf) + kCrLf);
            blnStop = true;
            return false;
        }
        if (answer == ui::Answer::Yes) {
            fileOps.SetValueForPurgeFilesWithExtension(extension, 1);
            code = 0;
        } else {
            fileOps.SetValueForPurgeFilesWithExtension(extension, -1);
        }
    }

    bool overwritten = false;
    bool purged = false;
    bool slackNotReached = false;
    double length = 0;
    if (code == 0) {
        // The length as it is now, of the very file the walk saw.
        auto now = dir.Look(file.name);
        if (!now || now->kind != platform::EntryKind::File) {
            ++lngNumEntriesSkipped;
            sayNotPurged(": file not found, not purged.");
            return true;
        }
        if (!(now->identity == file.identity)) {
            ++lngNumEntriesSkipped;
            sayNotPurged(ResultText(kPurgeFileReplaced, extension));
            return true;
        }
        length = static_cast<double>(now->size);

        if (IsMonitoredExtension(path) && ShowAntiVirusAdvice(path)) {
            ui::TheUi().MsgBox("Purge operation terminated.", ui::Buttons::OK, ui::Icon::None,
                               "Purge cancelled");
            blnStop = true;
            return false;
        }

        bool fileConfirmed = true;
        if (run_.blnConfirmFiles && !blnPurgeRemainingFiles) {
            SetClockEnabled(false);
            cmdStop.SetVisible(false);
            cmdPauseContinue.SetVisible(false);
            ShowReportText();
            Refresh();
            fileConfirmed = host_->ConfirmFile(ShownName(path, dir), Left(), Top() + Height() / 2);
            if (!blnStop) {
                cmdStop.SetVisible(true);
                cmdPauseContinue.SetVisible(true);
            }
            Show();
            SetClockEnabled(true);
        }

        if (fileConfirmed) {
            const auto purgeType = static_cast<std::int16_t>(run_.intPurgeType);
            const int passes = run_.intNumberOfPasses;
            const int overwrites = run_.intNumOverwrites;
            AddReportText(" (" + FormatNumber(length, 0) + " bytes) purging");
            const bool marks =
                !options.blnFolderNamesOnly && passes >= 2 && length * overwrites > bytesPerSecond;
            if (marks) AddReportText(" " + std::string(static_cast<std::size_t>(passes), '_'));

            const int d = DriveIndexOf(path);
            int passesRun = 0;
            bool slackMissed = false;
            for (int p = 1; p <= passes; ++p) {
                const bool deleteFile = p == passes && !options.blnDoNotDeletePurgedFiles;
                const std::int32_t cluster = d >= 0 ? run_.lngClusterSizeByDrive[d] : 0;
                PurgeFile(dir, file, path, purgeType, 1, deleteFile, true,
                          options.blnOKToPurgeReadOnlyFiles, purgeSlack, cluster, code,
                          &lngSecondsElapsed);
                if (code >= 0 || code == -4 || code == -5 || code == -6) {
                    lngTotalPurgeSeconds += lngSecondsElapsed;
                }
                if (code == kPurgeSlackNotReached) slackMissed = true;
                if (marks && !blnReportSuspended) {
                    report_.RemoveLastBytes(static_cast<std::size_t>(passes));
                    textBoxStale_ = true;
                }
                if (code < 0) break;
                passesRun = p;
                if (marks && p < passes) {
                    std::string progress;
                    for (int i = 1; i <= p; ++i) progress += std::to_string(i % 10);
                    progress += std::string(static_cast<std::size_t>(passes - p), '_');
                    AddReportText(progress);
                    cmdPauseContinue.SetFocus();
                    ShowReportText();
                    Refresh();
                }
                // After the last pass the file's line is finished first; the
                // check that follows every file then pauses or stops.
                if (p < passes) CheckPauseAndStop();
                if (blnStop) break;
            }
            overwritten = true;
            purged = passesRun == passes && code >= 0;
            slackNotReached = purged && slackMissed;
        }
    }

    SayHowThePurgeEnded(ShownName(file.name, dir), path, overwritten, purged, slackNotReached, length, code);
    return true;
}

void frmReport::SayHowThePurgeEnded(const std::string& shownName, const std::string& path,
                                    bool overwritten, bool purged, bool slackNotReached,
                                    double length, std::int16_t code) {
    const bool namesOnly = run_.blnFolderNamesOnly;
    if (overwritten) {
        if (run_.blnWipeDisk) {
            AddReportText(".");
        } else if (!namesOnly && !blnReportSuspended) {
            report_.CutAfterLast("bytes)");
            textBoxStale_ = true;
        }
    }
    if (purged) {
        AddReportText(slackNotReached ? " purged; its slack was not reached (disk full)."
                                      : " purged.");
        // A report of folder names only still says where old data may stay.
        if (slackNotReached && namesOnly && !blnReportSuspended) {
            Append(kCrLf + VisibleText(path) + ": purged; its slack was not reached (disk full).");
            ++intReportLines;
        }
        ++lngNumFilesPurged;
        dblTotalFileBytes += length;
        return;
    }
    // A report of folder names only still names each file left unpurged,
    // with its reason, on a line of its own.
    const std::string text =
        (overwritten && namesOnly ? " (" + FormatNumber(length, 0) + " bytes)" : std::string()) +
        ResultText(code, FileExtension(path, true));
    if (namesOnly) {
        AppendOwnLine(shownName + text);
    } else {
        AddReportText(text);
    }
}

std::optional<double> frmReport::LengthIfBatchable(platform::FolderHandle& dir,
                                                   const std::string& folder,
                                                   const platform::FolderEntry& file,
                                                   double bytesPerSecond) {
    const PurgeRun& options = run_;
    // Whatever may ask the user, or say more than the file's line, goes
    // the way of one file at a time.
    if (!CanPurgeFilesTogether() || (run_.blnConfirmFiles && !blnPurgeRemainingFiles) ||
        (run_.blnWipeDisk && file.links > 1) || WhyFileIsLeft(file, dir.Identity())) {
        return std::nullopt;
    }
    const std::string path = folder + file.name;
    std::int16_t code = host_->FileOps().ExcludedFile(path, dir.Identity(), file.identity);
    if (options.blnOKToPurgeSensitiveFiles && code == frmFileOps::kSensitiveNotAllowed) code = 0;
    if (code != 0 || (IsMonitoredExtension(path) && host_->PurgeWarning().blnShowPurgeWarning))
        return std::nullopt;
    auto now = dir.Look(file.name);
    if (!now || now->kind != platform::EntryKind::File || !(now->identity == file.identity) ||
        now->readOnly) {
        return std::nullopt;
    }
    const double length = static_cast<double>(now->size);
    const bool marks = !options.blnFolderNamesOnly && run_.intNumberOfPasses >= 2 &&
                       length * run_.intNumOverwrites > bytesPerSecond;
    if (marks || length > PurgeBatch::kLargestFile) return std::nullopt;
    return length;
}

bool frmReport::PurgeBatchedFiles(platform::FolderHandle& dir, const std::string& folder,
                                  bool purgeSlack) {
    if (purgeBatch_.Empty()) return !blnStop;
    if (blnStop) {
        purgeBatch_.Clear();
        CheckPauseAndStop();
        return false;
    }
    const int d = DriveIndexOf(folder);
    const std::int32_t cluster = d >= 0 ? run_.lngClusterSizeByDrive[d] : 0;
    std::int32_t seconds = 0;
    auto files = purgeBatch_.Purge([&](std::vector<PurgeBatch::File>& batch) {
        std::vector<platform::FolderEntry> entries;
        for (const auto& file : batch) entries.push_back(file.entry);
        std::vector<std::int16_t> codes;
        PurgeFiles(dir, entries, folder, static_cast<std::int16_t>(run_.intPurgeType),
                   static_cast<std::int16_t>(run_.intNumberOfPasses),
                   !run_.blnDoNotDeletePurgedFiles, true, purgeSlack, cluster, codes, &seconds);
        for (std::size_t i = 0; i < batch.size(); ++i) batch[i].code = codes[i];
    });
    lngSecondsElapsed = seconds;
    bool timed = false;
    // Each file's line as one purge of it would have written it.
    for (const auto& file : files) {
        const std::int16_t code = file.code;
        ++lngNumFilesProcessed;
        AddReportText(ShownName(file.entry.name, dir));
        AddReportText(" (" + FormatNumber(file.length, 0) + " bytes) purging");
        if (code >= 0 || code == -4 || code == -5 || code == -6) timed = true;
        SayHowThePurgeEnded(ShownName(file.entry.name, dir), folder + file.entry.name, true, code >= 0,
                            code == kPurgeSlackNotReached, file.length, code);
        AddReportText(kCrLf);
        ++intReportLines;
    }
    if (timed) lngTotalPurgeSeconds += seconds;
    CheckPauseAndStop();
    return !blnStop;
}

bool frmReport::ShowAntiVirusAdvice(const std::string& path) {
    frmPurgeWarning& warning = host_->PurgeWarning();
    if (!warning.blnShowPurgeWarning) return false;
    ShowReportText();
    Refresh();
    frmAntiVirusQuery& query = host_->AntiVirusQuery();
    query.MoveTo(Left() + Width() / 4, Top() + Height() / 4);
    query.Form_Activate();
    query.ShowModal();
    if (query.blnNo) {
        warning.blnShowPurgeWarning = false;
        return false;
    }
    warning.strPurgeFilePath = path;
    warning.blnPurgeRunning = run_.blnPurgeFiles;
    warning.MoveTo(Left() + Width() / 4, Top() + Height() / 4);
    warning.Form_Activate();
    warning.ShowModal();
    return warning.blnStopPurge;
}

void frmReport::WritePurgeSummary() {
    const PurgeRun& options = run_;
    auto line = [this](const std::string& text) {
        AppendAnyway(text + kCrLf);
        ++intReportLines;
    };
    if (!(lngNumFilesProcessed == 1 && lngNumFilesPurged == 1)) {
        line("Number of files purged: " + FormatNumber(lngNumFilesPurged, 0));
    }
    if (options.blnPurgeSlack || lngNumFilesPurged > 1) {
        if (dblTotalFileBytes >= kBytesPerMB) {
            line("Total MB: " + FormatNumber(dblTotalFileBytes / kBytesPerMB, 2));
        } else {
            line("Total KB: " + FormatNumber(dblTotalFileBytes / kBytesPerKB, 2));
        }
        if (options.blnDoNotDeletePurgedFiles) line("Purged files not deleted.");
    }
    if (lngTotalPurgeSeconds > 1) {
        line("Total purge time: " + FormatSeconds(lngTotalPurgeSeconds, true, false));
    }
    if (intNumFoldersRemoved > 0) {
        line("Number of folders removed: " + std::to_string(intNumFoldersRemoved));
    }
    if (blnStop) line(std::string("Purge operation was stopped.") + kCrLf);
}
