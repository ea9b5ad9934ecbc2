#include "disk/DiskWipe.h"

#include <cmath>
#include <memory>

#include "disk/DiskProc.h"
#include "disk/SystemDrive.h"
#include "disk/WipeHardLinks.h"
#include "disk/WipeHost.h"
#include "disk/frmExcludedFolders.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "platform/FileSystem.h"
#include "platform/NewFiles.h"
#include "platform/ReservedSpace.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmReport.h"
#include "ui/Ui.h"

namespace {

const char* const kTitle = "Wipe disk";
const std::string kCrLf = "\r\n";
constexpr double kBytesPerMB = 1048576.0;
constexpr double kNoEstimateBelow = 20971520;  // 20 MB
constexpr std::int32_t kDarkRed = 128;
// Where the wipe's windows open, from the top left of the window it
// started from.
constexpr int kExclusionsBelowTop = 1000;
constexpr int kQueryRight = 2400;
constexpr int kQueryBelowTop = 1675;
constexpr int kReportBelowTop = 450;

// Whole seconds, halves to the even neighbour, in the long form rounded up.
std::string Duration(double seconds) {
    return FormatSeconds(static_cast<std::int32_t>(std::nearbyint(seconds)), true, true);
}

std::string SpeedText(float S, char L) {
    if (S != 0) return FormatNumber(S, 3);
    return L <= 'B' ? "0.014" : "1";
}

double AssumedSpeed(float S, char L) {
    if (S != 0) return std::round(double(S) * 1000) / 1000;
    return L <= 'B' ? 0.014 : 1;
}

// As NumSubfolders counts them; a folder that cannot be read counts as
// having some.
bool HasSubfolders(platform::FolderHandle& folder) {
    auto entries = folder.Read();
    if (!entries) return true;
    for (const auto& entry : *entries) {
        if (entry.kind == platform::EntryKind::Folder) return true;
    }
    return false;
}

class Wipe {
  public:
    Wipe(const DiskWipeOptions& options, WipeHost& host)
        : options_(options), host_(host), fill_(host.FillDisk()) {}

    DiskWipeEnding Run();

  private:
    bool ChooseDrive();
    bool Refused();
    bool ChooseExclusions();
    bool AdviseAboutAntiVirus();
    bool OfferSpeedTest();
    bool FillFreeSpace();
    bool FillFailed();
    void PrepareRun();
    void RunInReportWindow();
    void FillAgainAfterRun(frmReport& report);
    void OverwriteNames(frmReport& report);
    DiskWipeEnding Stop();

    ui::Answer Ask(const std::string& text, ui::Buttons buttons, ui::Answer goOn,
                   int defaultButton = 1) {
        if (options_.unattended) return goOn;
        return ui::TheUi().MsgBox(text, buttons, ui::Icon::None, kTitle, defaultButton);
    }
    bool AskOK(const std::string& text) {
        return Ask(text, ui::Buttons::OKCancel, ui::Answer::OK) == ui::Answer::OK;
    }
    void Say(const std::string& text, ui::Icon icon) {
        ui::TheUi().MsgBox(text, ui::Buttons::OK, icon, kTitle);
    }
    float Speed() const { return host_.RunNow().sngPurgeSpeed[L_ - 'A']; }

    DiskWipeOptions options_;
    WipeHost& host_;
    frmFillDisk& fill_;
    std::string D_;
    char L_ = 'C';
    double F_ = 0;
    bool labelsHidden_ = false;
    bool ran_ = false;
    PurgeRun run_;  // the run over the whole drive
    bool filled_ = false;
    // The drive's root folder, opened when the drive was chosen: every
    // later step works through it and never looks the drive's path up again.
    std::shared_ptr<platform::FolderHandle> root_;
    bool failed_ = false;          // a step did not do its work: nothing purged
    bool copyOnWrite_ = false;     // the drive's overwrites miss old copies
    bool oldDataLeft_ = false;     // the fill after the run did not do its work
    bool dummiesDeleted_ = false;  // before the run, unpurged, on copy-on-write
};

DiskWipeEnding Wipe::Run() {
    if (!ChooseDrive()) return Stop();
    if (Refused()) {
        Stop();
        return DiskWipeEnding::Refused;
    }
    host_.HideSelection();
    labelsHidden_ = true;
    // Unattended, a folder the user meant to keep that was refused ends
    // the wipe: nobody is there to choose again.
    if (!ChooseExclusions()) {
        Stop();
        return DiskWipeEnding::Refused;
    }
    if (!AdviseAboutAntiVirus() || !OfferSpeedTest()) return Stop();
    if (!AskOK("Before proceeding it is highly recommended to close" + kCrLf +
               "all applications which might be accessing open files.")) {
        return Stop();
    }
    copyOnWrite_ = OverwritesMissOldCopies(D_);
    if (copyOnWrite_) {
        Say("The file system of Drive " + D_ +
                " writes changed data to new places on the disk, so overwriting a file in place" +
                kCrLf + "does not reach its earlier copies. The fill of the free space with " +
                "dummy files is what reaches them.",
            ui::Icon::Information);
    }
    const int N = host_.RunNow().intNumOverwrites;
    if (!AskOK(WipeEstimateMessage(D_, dblDiskTotalBytes, Speed(), N))) return Stop();
    if (F_ > 0 && !FillFreeSpace()) return Stop();
    // Enter alone must not start what cannot be undone: Cancel is the default.
    if (Ask("Now ready to wipe the disk in Drive " + D_ + kCrLf +
                "Press 'OK' to continue or 'Cancel' to stop.",
            ui::Buttons::OKCancel, ui::Answer::OK, 2) != ui::Answer::OK) {
        return Stop();
    }
    // A dummy file holds nothing but the fill's bytes. Copy-on-write writes
    // every overwrite to new blocks, which a full disk has none of, so there
    // the dummy files are deleted before the run instead of purged in it.
    if (copyOnWrite_ && filled_) {
        fill_.DeleteDummyFilesLeft();
        dummiesDeleted_ = true;
    }
    PrepareRun();
    RunInReportWindow();
    return oldDataLeft_ ? DiskWipeEnding::RanOldDataLeft : DiskWipeEnding::Ran;
}

bool Wipe::ChooseDrive() {
    std::string drive = host_.LastDrive();
    if (drive.empty()) drive = DriveExists("A:") ? "A:" : FirstFixedDrive();
    host_.Window().Refresh();
    const std::int16_t code =
        SelectDrive(host_.SpecifyDrive(), host_.DialogTop(), host_.DialogLeft(), 1500, kDarkRed,
                    drive, F_, dblDiskTotalBytes);
    D_ = UpperCase(drive);
    host_.DriveChosen(D_);
    L_ = D_.empty() ? 'C' : D_[0];
    if (code == kDriveNotFixedOrRemovable || code == kDriveNoDisk || code == kDriveOtherError) {
        Say(SelectDriveMessage(code, D_), ui::Icon::Exclamation);
    }
    if (code != kDriveAccepted) return false;
    std::string why;
    root_ = platform::Files().OpenFolder(D_.substr(0, 2) + "\\", &why);
    if (!root_) {
        Say("Error " + std::to_string(kDriveOtherError) + " (" + why + ") for Drive " + D_ + ".",
            ui::Icon::Exclamation);
        return false;
    }
    fill_.HoldDrive(D_, root_);
    return true;
}

bool Wipe::Refused() {
    const std::string why = WhyDriveIsTheSystems(*root_);
    if (why.empty()) return false;
    Say("Drive " + D_ + " " + why + ", so it cannot be wiped:" + kCrLf +
            "a wipe would destroy the running system or this program." + kCrLf + kCrLf +
            "Wipe a data drive instead, or purge selected folders of this drive with " +
            "'Purge files'.",
        ui::Icon::Exclamation);
    return true;
}

bool Wipe::ChooseExclusions() {
    frmExcludedFolders& excluded = host_.ExcludedFolders();
    excluded.strDriveLetter = std::string(1, L_);
    excluded.driveFolder = root_;
    excluded.PrepareOpening();
    excluded.MoveTo(host_.DialogLeft(), host_.Window().Top() + kExclusionsBelowTop);
    excluded.ShowModal();
    excluded.driveFolder = nullptr;
    const int n = excluded.intNumExcludedFolders;
    host_.ShowWipeSelection(WipeSelectionCaption(L_, excluded.chkKeepTopFiles.Value() != 0, n));
    return !(options_.unattended && excluded.intRefusals > 0);
}

bool Wipe::AdviseAboutAntiVirus() {
    frmAntiVirusQuery& query = host_.AntiVirusQuery();
    query.MoveTo(host_.Window().Left() + kQueryRight, host_.Window().Top() + kQueryBelowTop);
    query.Form_Activate();
    query.ShowModal();
    if (query.blnNo) return true;
    const std::string L(1, L_);
    return AskOK(
        "If Drive " + L + ": has files with extensions such as EXE, SYS, DLL, DOC, etc.," + kCrLf +
        "then anti-virus software will probably interrupt this operation." + kCrLf +
        "It is recommended to disable your anti-virus software before continuing." + kCrLf + kCrLf +
        "Press 'OK' to continue without disabling, or 'Cancel' to cancel this operation" + kCrLf +
        "so that you can disable your anti-virus software.");
}

bool Wipe::OfferSpeedTest() {
    if (Speed() != 0 || L_ < 'C' || options_.unattended) return true;
    const ui::Answer answer =
        Ask("It is recommended to test the purge speed for Drive " + D_ + kCrLf +
                "so as to enable an estimate of how long this will take." + kCrLf + kCrLf +
                "Do you wish to do this?",
            ui::Buttons::YesNoCancel, ui::Answer::No);
    if (answer == ui::Answer::Cancel) return false;
    if (answer == ui::Answer::Yes) {
        host_.DriveChosen(D_);
        // The speed test measures the drive again; the wipe's sizes stay.
        const double total = dblDiskTotalBytes;
        host_.TestPurgeSpeed();
        dblDiskTotalBytes = total;
    }
    return true;
}

bool Wipe::FillFreeSpace() {
    if (!AskOK(FillAnnouncement(D_, F_, Speed()))) return false;
    fill_.blnFillDisk = true;
    fill_.strDrive = D_.substr(0, 2);
    fill_.MoveTo(host_.DialogLeft(), host_.DialogTop());
    fill_.dblFreeSpace = F_;
    filled_ = true;
    fill_.ShowModal();
    return !FillFailed() && !fill_.blnStopp;
}

// A fill that could not do its work leaves deleted data in the free space
// however the run went: the wipe ends before it, loudly.
bool Wipe::FillFailed() {
    if (fill_.strFailure.empty()) return false;
    failed_ = true;
    Say("The free space of Drive " + D_ + " cannot be filled, so the disk is not wiped." + kCrLf +
            "Error: " + fill_.strFailure + kCrLf + kCrLf +
            "Nothing was purged; the dummy files written so far are deleted.",
        ui::Icon::Exclamation);
    return true;
}

// Every file of the drive, in all its folders, with nothing asked: read-only
// and sensitive files too, slack included, emptied folders removed, and a
// report of folder names only. The purge type, the speeds and the cluster
// sizes are those the program has now; a drive whose cluster size no purge
// confirmation chose gets its estimate.
void Wipe::PrepareRun() {
    run_ = host_.RunNow();
    run_.blnPurgeFiles = true;
    run_.blnListFiles = false;
    run_.blnDisplayFolderNames = false;
    run_.blnDisplayFileNames = false;
    run_.strNextDirPath = D_ + "\\";
    run_.strCurrentFileSpec = "*.*";
    run_.strFolderPath = run_.strNextDirPath;
    run_.heldFolder = root_;
    run_.blnSubdirectories = HasSubfolders(*root_);
    run_.blnConfirmFiles = false;
    run_.blnPurgeSlack = true;
    run_.blnDoNotDeletePurgedFiles = false;
    run_.blnOKToPurgeReadOnlyFiles = true;
    run_.blnOKToPurgeSensitiveFiles = true;
    run_.blnDeleteEmptyFolders = true;
    run_.blnFolderNamesOnly = true;
    std::int32_t& clusterSize = run_.lngClusterSizeByDrive[L_ - 'A'];
    if (clusterSize < 512) clusterSize = EstimateClusterSize(std::string(1, L_));
    run_.blnWipeDisk = true;
    host_.ShowWholeDrive(run_.strNextDirPath, run_.blnSubdirectories);
}

// Only the dummy files at the root when top-level files are kept.
bool IsDummyName(const std::string& name) { return NameMatchesSpec(name, "dummy*", false); }

void Wipe::RunInReportWindow() {
    frmReport& report = host_.Report();
    report.SetCaption("Wipe disk " + D_);
    report.Resize(host_.Window().Width(), report.Height());
    report.MoveTo(host_.Window().Left(), host_.Window().Top() + kReportBelowTop);
    report.Show();
    report.Form_Activate();

    // The names of files with several links that the run will meet.
    frmExcludedFolders& excluded = host_.ExcludedFolders();
    auto census = std::make_unique<HardLinkCensus>();
    census->CountTree(*root_, excluded.ExcludedIdentities(),
                      excluded.chkKeepTopFiles.Value() != 0 ? IsDummyName : nullptr);
    SetWipeLinkCensus(std::move(census));

    // What the user keeps, as it was when it was chosen.
    run_.blnKeepTopFiles = excluded.chkKeepTopFiles.Value() != 0;
    for (int i = 1; i <= excluded.intNumExcludedFolders; ++i) {
        run_.strExcludedFolders.push_back(excluded.IthExcludedFolder(static_cast<std::int16_t>(i)));
    }
    run_.excludedFolders = excluded.ExcludedIdentities();
    run_.fillWrote = [this](const platform::FileIdentity& file) { return fill_.Wrote(file); };

    report.blnStop = false;
    ran_ = true;
    host_.RunGoing(true);
    report.ProcessFiles(run_, host_.RunWindows());
    host_.RunGoing(false);
    SetWipeLinkCensus(nullptr);
    OverwriteNames(report);
    FillAgainAfterRun(report);
    Stop();
}

// The names of deleted files outlive their data in the file system's
// journal and in free slots of its folders: the last step overwrites them
// (before a fill after the run, which then also reaches the blocks it frees).
void Wipe::OverwriteNames(frmReport& report) {
    if (report.blnStop) return;
    const NamesPassOutcome outcome = fill_.OverwriteFileNames();
    report.AppendNote(kCrLf + NamesPassNote(D_, outcome, kCrLf));
    if (!outcome.failure.empty() || outcome.stopped) oldDataLeft_ = true;
}

// The run freed space the fill could not reach. On a copy-on-write file
// system each overwrite went to new blocks, and the old copies of the
// purged files were freed only as each file was deleted. Where metadata
// takes whole clusters (ext4 bigalloc), the clusters of the dummy files'
// own extent trees held old data behind their one block, and were freed
// with the dummy files. A second fill, deleted at once, overwrites both; its
// own files there take no such cluster.
void Wipe::FillAgainAfterRun(frmReport& report) {
    if (report.blnStop || fill_.DummyFolder() == nullptr) return;
    const bool wholeClusters =
        platform::TheNewFiles().MetadataTakesWholeClusters(*fill_.DummyFolder());
    if (!copyOnWrite_ && !wholeClusters) return;
    std::string text = kCrLf;
    if (dummiesDeleted_) {
        text += "The dummy files were deleted without being overwritten: they held only fill " +
                std::string("data,") + kCrLf +
                "and this file system writes overwrites to new places on the disk." + kCrLf;
    }
    // What the run freed becomes free for the file system only once it is
    // written out: btrfs holds freed extents back until its next commit.
    platform::FileFailure ignored;
    platform::TheNewFiles().SyncFileSystem(*fill_.DummyFolder(), ignored);
    const double free = double(platform::Reserves().FreeBytesOfAnyKind(*fill_.DummyFolder()));
    if (free > 0) {
        fill_.blnFillDisk = true;
        fill_.strDrive = D_.substr(0, 2);
        fill_.dblFreeSpace = free;
        // This fill is the last to write: its own extent trees must not
        // keep old data behind their one block.
        fill_.blnOwnNoMetadata = wholeClusters;
        fill_.ShowModal();
        fill_.blnOwnNoMetadata = false;
        fill_.DeleteDummyFilesLeft();
        oldDataLeft_ = !fill_.strFailure.empty() || fill_.blnStopp;
    }
    if (free <= 0) {
        text += "No free space was left after the run to fill once more." + kCrLf;
    } else if (!oldDataLeft_) {
        text += "The free space was filled once more after the run and that fill deleted," + kCrLf +
                "so the space the run freed (earlier copies of purged files, the clusters" + kCrLf +
                "of the dummy files' own records) is overwritten too." + kCrLf;
    } else {
        text += "The free space could not be filled once more after the run" +
                (fill_.strFailure.empty() ? std::string(" (stopped)")
                                          : ": " + VisibleText(fill_.strFailure)) +
                "," + kCrLf + "so old data may still lie in the space the run freed." + kCrLf;
    }
    report.AppendNote(text);
}

DiskWipeEnding Wipe::Stop() {
    // A stopped run or a cancel after the fill must not leave the disk full.
    if (filled_) fill_.DeleteDummyFilesLeft();
    fill_.LetGoOfDrive();
    fill_.HoldDrive("", nullptr);
    root_.reset();
    filled_ = false;
    // However the wipe ends, the user's selection is shown again.
    if (labelsHidden_) host_.WipeEnded(ran_);
    labelsHidden_ = false;
    run_ = PurgeRun{};
    return failed_ ? DiskWipeEnding::Failed : DiskWipeEnding::Ended;
}

}  // namespace

DiskWipeEnding WipeDisk(WipeHost& host, const DiskWipeOptions& options) {
    return Wipe(options, host).Run();
}

std::string WipeSelectionCaption(char L, bool keepTopFiles, int numExcluded) {
    std::string caption = "Purging all files on Drive " + std::string(1, L);
    if (keepTopFiles || numExcluded != 0) caption += " except ";
    if (keepTopFiles) {
        caption += "top-level files ";
        if (numExcluded > 0) caption += "and ";
    }
    if (numExcluded > 0) {
        caption +=
            "those in " + (numExcluded == 1 ? std::string("1 excluded folder")
                                            : std::to_string(numExcluded) + " excluded folders");
    }
    return caption + ".";
}

std::string WipeEstimateMessage(const std::string& D, double totalBytes, float S, int N) {
    const char L = D.empty() ? 'C' : D[0];
    const double seconds = N * totalBytes / kBytesPerMB / AssumedSpeed(S, L);
    std::string text = DiskCapacityText(D, totalBytes) + kCrLf + kCrLf +
                       "Assuming a disk write speed of " + SpeedText(S, L) + " MB/sec and " +
                       std::to_string(N) + " overwrite" + (N > 1 ? "s" : "") + kCrLf +
                       "this will take approximately " + Duration(seconds) + ".";
    if (N > 1)
        text += kCrLf + kCrLf + "The time required may be reduced by changing the type of purge.";
    if (S == 0 && L >= 'C') {
        text += kCrLf + kCrLf +
                "To obtain a more accurate estimate of the time required for this," + kCrLf +
                "test the purge speed for Drive " + D + ".";
    }
    return text + kCrLf + kCrLf + "Click on 'OK' to proceed or 'Cancel' to stop.";
}

std::string FillAnnouncement(const std::string& D, double F, float S) {
    std::string text = DriveFreeSpaceText(D, F) + kCrLf +
                       (F > double(frmFillDisk::kDummyFileBytes)
                            ? "Dummy files will now be written to fill this space."
                            : "A dummy file will now be written to fill this space.") +
                       kCrLf;
    if (F >= kNoEstimateBelow) {
        const double W = S == 0 ? 1 : std::round(double(S) * 1000) / 1000;
        text += "Assuming a disk write speed of " +
                (S == 0 ? std::string("1") : FormatNumber(S, 3)) + " MB/sec" + kCrLf +
                "this will take about " + Duration(F / kBytesPerMB / W) + ".";
        if (S == 0) {
            text += kCrLf + kCrLf + "To obtain a more accurate estimate of the time required" +
                    kCrLf + "for this, test the purge speed for Drive " + D + ".";
        }
    }
    return text + kCrLf + kCrLf + "Click on 'OK' to proceed or 'Cancel' to stop.";
}
