#include "disk/frmFillDisk.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "disk/FillLeftovers.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/NewFiles.h"
#include "platform/ReservedSpace.h"
#include "purge/NumberFormat.h"
#include "purge/UnicodeText.h"
#include "ui/Ui.h"

using ui::ControlKind;

namespace {

const char* const kCrLf = "\r\n";
// A MiB: 2048 blocks, the step of the progress text and of the F10 check.
constexpr std::uint64_t kPieceBytes = 1 << 20;

// A MiB of the byte 0x55, aligned for the disk.
const char* Pattern() {
    alignas(4096) static char piece[kPieceBytes];
    static const bool filled = (std::memset(piece, 0x55, kPieceBytes), true);
    (void)filled;
    return piece;
}

std::uint64_t RoundUpToBlock(double bytes) {
    if (bytes <= 0) return 0;
    auto whole = static_cast<std::uint64_t>(bytes);
    if (double(whole) < bytes) ++whole;
    const std::uint64_t block = frmFillDisk::kBlockBytes;
    return (whole + block - 1) / block * block;
}

// Writes `bytes` of the pattern. On a full disk it tries again with ever
// smaller writes down to a single block, so that the disk ends full to its
// last block. The bytes written; fewer than asked with `failure` set.
std::uint64_t WritePiece(platform::NewFile& file, std::uint64_t bytes,
                         platform::FileFailure& failure) {
    std::uint64_t done = 0;
    std::uint64_t attempt = bytes;
    while (done < bytes) {
        attempt = std::min(attempt, bytes - done);
        std::size_t n = file.Append(Pattern(), attempt, failure);
        if (n > 0) {
            done += n;
            continue;
        }
        if (!failure.diskFull || attempt <= frmFillDisk::kBlockBytes) break;
        attempt = std::max<std::uint64_t>(
            frmFillDisk::kBlockBytes,
            attempt / 2 / frmFillDisk::kBlockBytes * frmFillDisk::kBlockBytes);
    }
    return done;
}

// The file system's reserve, lowered for the life of the object: its old
// value is recorded first, and it is restored (and forgotten) at the end,
// however the fill ends.
class LoweredReserve {
  public:
    explicit LoweredReserve(platform::FolderHandle& folder) {
        auto record = platform::Reserves().Describe(folder);
        if (!record || !RecordReserve(*record)) return;
        record_ = *record;
        bytes_ = platform::Reserves().Lower(record_);
    }
    ~LoweredReserve() {
        if (!record_.empty() && platform::Reserves().Restore(record_)) ForgetReserve(record_);
    }
    LoweredReserve(const LoweredReserve&) = delete;
    LoweredReserve& operator=(const LoweredReserve&) = delete;
    std::uint64_t Bytes() const { return bytes_; }

  private:
    std::string record_;
    std::uint64_t bytes_ = 0;
};

}  // namespace

std::string NextFreeFileName(const std::string& base) {
    for (long n = 1;; ++n) {
        std::string candidate = base + std::to_string(n);
        if (!platform::Files().Look(candidate)) return candidate;
    }
}

frmFillDisk::frmFillDisk()
    : Form("frmFillDisk"), lblLabel(Add(ControlKind::Label, "lblLabel", "", 240, 240, 6600, 1100)) {
    SetCaption("Fill disk");
    Resize(7200, 1900);
    KeyUp = [this](int key) {
        if (key == kKeyF10) blnStopp = true;
    };
    // The close box asks to cancel, as F10 does: a fill is never left
    // running behind a closed window.
    OnClose = [this] { blnStopp = true; };
    OnActivate = [this] { Form_Activate(); };
}

frmFillDisk::~frmFillDisk() = default;

void frmFillDisk::Form_Activate() {
    if (namesPass_) {
        RunNamesPass();
        Hide();
        return;
    }
    if (!blnFillDisk) Hide();
    if (strDrive.empty()) {
        Hide();
        return;
    }
    bln1MbFileWritten = false;
    dblUnreachedBytes = 0;
    strFailure.clear();
    if (dblFreeSpace == 0) {
        ui::TheUi().MsgBox("No free space on the disk in Drive " + strDrive + ".", ui::Buttons::OK,
                           ui::Icon::Exclamation, "Disk full");
        Hide();
        return;
    }
    baseText_.clear();
    if (blnFillDisk) {
        const std::string drive = UpperCase(strDrive);
        baseText_ = dblFreeSpace >= double(kDummyFileBytes)
                        ? "Dummy files are being written to fill the disk in Drive " + drive +
                              kCrLf + kCrLf +
                              "To interrupt this operation press the F10 key twice (and wait a "
                              "bit)."
                        : "A dummy file is being written to fill the disk in Drive " + drive;
        lblLabel.SetCaption(baseText_);
        Refresh();
    }
    blnStopp = false;
    abandoned_ = false;
    WriteDummyFiles();
    Hide();
}

void frmFillDisk::WriteDummyFiles() {
    written_.clear();
    partialKept_ = false;
    entry_ = {};
    std::string why;
    if (held_ && platform::DriveLetterOf(strDrive) == heldLetter_) {
        folder_ = held_;
    } else {
        folder_ = platform::Files().OpenFolder(strDrive + "\\", &why);
    }
    if (!folder_) {
        ShowError(why);
        return;
    }
    std::optional<LoweredReserve> reserve;
    if (blnFillDisk) reserve.emplace(*folder_);
    writeThrough_ = reserve && reserve->Bytes() > 0;
    const double target = dblFreeSpace + (reserve ? double(reserve->Bytes()) : 0);

    double total = 0;
    totalWritten_ = 0;
    Ending ending = Ending::Complete;
    while (ending == Ending::Complete && total < target) {
        auto file = CreateNextFile(ending);
        if (!file) break;
        ending = WriteOneFile(*file, total, target);
        entry_.size = bytes_;
        if (ending == Ending::DiskFull || ending == Ending::Failed) {
            // The files written so far stay, on the disk for good.
            platform::FileFailure ignored;
            file->Flush(ignored);
            file->Close(ignored);
        }
        if (ending == Ending::Complete && !blnFillDisk) bln1MbFileWritten = true;
        if (!blnFillDisk) break;
    }
    if (blnFillDisk) SyncBeforeDeleting();
    if (ending == Ending::Abandoned) DeleteEveryFileWritten();
    if (ending == Ending::DiskFull && blnFillDisk) ReportUnreachedSpace();
}

std::unique_ptr<platform::NewFile> frmFillDisk::CreateNextFile(Ending& ending) {
    for (long n = 1;; ++n) {
        const std::string name = "dummy" + std::to_string(n);
        // Any entry counts as taken: a link planted as a dummy file's name
        // is never written through.
        if (folder_->Look(name)) continue;
        platform::FileFailure failure;
        auto& files = platform::TheNewFiles();
        std::unique_ptr<platform::NewFile> file;
        if (blnFillDisk && blnOwnNoMetadata) {
            file = files.CreateOwningNoMetadata(*folder_, name, failure);
        } else if (writeThrough_) {
            file = files.CreateWrittenThrough(*folder_, name, failure);
        } else {
            file = files.Create(*folder_, name, failure);
        }
        if (!file && failure.nameTaken) continue;  // it appeared meanwhile
        strDummyFile = LowerCase(strDrive + "\\" + name);
        if (!file) {
            ending = failure.diskFull ? Ending::DiskFull : Ending::Failed;
            if (!failure.diskFull) ShowError(failure.why);
            return nullptr;
        }
        entry_ = {};
        entry_.name = name;
        entry_.kind = platform::EntryKind::File;
        entry_.identity = file->Identity();
        if (!RecordDummyFile(strDummyFile, entry_.identity)) {
            // A dummy file nobody would know of could leave the disk full
            // unnoticed: none is written unrecorded.
            file.reset();
            platform::TheNewFiles().DeleteIfStill(*folder_, name, entry_.identity);
            ending = Ending::Failed;
            ShowError("the dummy files cannot be recorded in " + FillRecordPath());
            return nullptr;
        }
        written_.push_back(entry_);
        return file;
    }
}

frmFillDisk::Ending frmFillDisk::WriteOneFile(platform::NewFile& file, double& total,
                                              double target) {
    bytes_ = 0;
    const std::uint64_t limit = blnFillDisk ? kDummyFileBytes : RoundUpToBlock(lngFilesize);
    for (;;) {
        std::uint64_t piece = std::min(kPieceBytes - bytes_ % kPieceBytes, limit - bytes_);
        if (blnFillDisk) piece = std::min(piece, RoundUpToBlock(target - total));
        platform::FileFailure failure;
        const std::uint64_t written = WritePiece(file, piece, failure);
        bytes_ += written;
        total += double(written);
        totalWritten_ = total;
        if (written < piece) {
            ProgressUpdate();
            if (failure.diskFull) return Ending::DiskFull;
            // The fill goes on in a new file.
            if (failure.fileFull && bytes_ > 0) return FinishFile(file);
            ShowError(failure.why);
            return Ending::Failed;
        }
        if (bytes_ % kPieceBytes == 0) ProgressUpdate();
        if (bytes_ >= limit || (blnFillDisk && total >= target)) {
            if (blnFillDisk) ProgressUpdate();
            return FinishFile(file);
        }
        ui::TheUi().DoEvents();
        if (abandoned_) return Ending::Abandoned;
        if (blnStopp && AskAboutStop(file) == Ending::Cancelled) return Ending::Cancelled;
    }
}

frmFillDisk::Ending frmFillDisk::FinishFile(platform::NewFile& file) {
    platform::FileFailure failure;
    if (file.Flush(failure) && file.Close(failure)) return Ending::Complete;
    if (failure.diskFull) return Ending::DiskFull;
    ShowError(failure.why);
    return Ending::Failed;
}

frmFillDisk::Ending frmFillDisk::AskAboutStop(platform::NewFile& file) {
    ProgressUpdate();
    if (ui::TheUi().MsgBox("Do you wish to cancel this operation?", ui::Buttons::YesNo,
                           ui::Icon::None, "Cancel?") != ui::Answer::Yes) {
        blnStopp = false;
        return Ending::Complete;
    }
    platform::FileFailure ignored;
    file.Close(ignored);
    Hide();
    if (ui::TheUi().MsgBox("Do you wish to delete the dummy file written so far?",
                           ui::Buttons::YesNo, ui::Icon::None,
                           "Delete dummy file?") == ui::Answer::Yes) {
        if (blnFillDisk) SyncBeforeDeleting();
        // Only the file being written; the complete ones stay, recorded.
        if (platform::TheNewFiles().DeleteIfStill(*folder_, entry_.name, entry_.identity)) {
            ForgetDummyFile(strDummyFile);
        }
    } else {
        partialKept_ = true;
    }
    return Ending::Cancelled;
}

void frmFillDisk::DeleteEveryFileWritten() {
    for (const auto& file : written_) {
        std::string path = LowerCase(strDrive + "\\" + file.name);
        if (platform::TheNewFiles().DeleteIfStill(*folder_, file.name, file.identity) ||
            !folder_->Look(file.name)) {
            ForgetDummyFile(path);
        }
    }
    blnStopp = true;
}

void frmFillDisk::HoldDrive(const std::string& drive,
                            std::shared_ptr<platform::FolderHandle> root) {
    heldLetter_ = root ? platform::DriveLetterOf(drive) : 0;
    held_ = std::move(root);
}

bool frmFillDisk::Wrote(const platform::FileIdentity& file) const {
    for (const auto& written : written_) {
        if (written.identity.SameObjectAs(file)) return true;
    }
    return false;
}

void frmFillDisk::DeleteDummyFilesLeft() {
    if (!folder_) return;
    for (std::size_t i = 0; i < written_.size(); ++i) {
        const auto& file = written_[i];
        const std::string path = LowerCase(strDrive + "\\" + file.name);
        if (partialKept_ && i + 1 == written_.size()) continue;
        auto now = folder_->Look(file.name);
        if (now && now->identity.SameObjectAs(file.identity) &&
            !platform::TheNewFiles().DeleteIfStill(*folder_, file.name, file.identity)) {
            continue;  // still there: it stays recorded
        }
        ForgetDummyFile(path);
    }
    written_.clear();
}

void frmFillDisk::ReportUnreachedSpace() {
    dblUnreachedBytes = double(platform::Reserves().FreeBytesOfAnyKind(*folder_));
    if (dblUnreachedBytes <= 0) return;
    ui::TheUi().MsgBox("The disk in Drive " + UpperCase(strDrive) +
                           " is full, yet its file system keeps " +
                           FormatNumber(dblUnreachedBytes, 0) + " bytes out of reach of the fill." +
                           kCrLf + "Data deleted earlier may still lie there.",
                       ui::Buttons::OK, ui::Icon::Information, "Fill disk");
}

void frmFillDisk::ShowError(const std::string& why) {
    strFailure = why;
    if (!blnFillDisk) {
        ui::TheUi().MsgBox("Error: " + why, ui::Buttons::OK, ui::Icon::Exclamation, "Error");
    }
}

void frmFillDisk::SyncBeforeDeleting() {
    if (written_.empty()) return;
    platform::FileFailure failure;
    if (!platform::TheNewFiles().SyncFileSystem(*folder_, failure) && strFailure.empty()) {
        ShowError("the file system of Drive " + UpperCase(strDrive) +
                  " cannot be synced: " + failure.why);
    }
}

void frmFillDisk::ProgressUpdate() {
    std::string text = baseText_ + kCrLf + "Bytes written: " + FormatNumber(double(bytes_), 0);
    if (!blnFillDisk) text += " (of " + FormatNumber(lngFilesize, 0) + ")";
    lblLabel.SetCaption(text);
    Refresh();
}
