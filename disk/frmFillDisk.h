// The fill window: writes dummy files into the root folder of a drive.
//
// In fill mode (the disk wipe) it writes "dummy1", "dummy2", ... of
// 2,146,435,072 bytes each until the drive's free space is used up, so that
// the later purge of these files overwrites all free space; it shows its
// progress, and F10 interrupts it. In test mode (the purge speed test) it
// stays hidden and writes one test file of lngFilesize bytes. The caller
// sets the public values, shows the window modally and reads them when it
// returns.
//
// Files are created new relative to the open root folder, never through a
// link, and grow in whole 512-byte blocks, written a MiB at a time. Every
// finished file is flushed to the disk, and in fill mode the whole file
// system is synced when the writing ends, before any dummy file can be
// deleted: a file deleted before the metadata blocks it took were written
// in their place would leave those blocks holding old data. Each file is recorded (see
// FillLeftovers.h) from its creation until it is deleted, and a file
// system's reserve is lowered for the fill and restored however it ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "disk/NamesPass.h"
#include "platform/FolderHandle.h"
#include "ui/Form.h"

namespace platform {
class NewFile;
}

class frmFillDisk : public ui::Form {
  public:
    frmFillDisk();
    ~frmFillDisk() override;

    static constexpr std::int32_t kBlockBytes = 512;
    // 2 GiB less 1 MiB: the size of every dummy file but the last.
    static constexpr std::uint64_t kDummyFileBytes = 2146435072;
    static constexpr int kKeyF10 = 121;

    bool blnFillDisk = false;        // true: fill mode; false: test mode
    bool bln1MbFileWritten = false;  // test mode: the test file is complete
    bool blnStopp = false;           // F10 was released; stays set after a cancel
    std::int32_t lngFilesize = 0;    // test mode: bytes of the test file
    double dblFreeSpace = 0;         // bytes to write in all
    std::string strDrive;            // letter and colon
    std::string strDummyFile;        // the file being (or last) written

    // Fill mode: every dummy file owns no cluster of metadata, starting a
    // new file where one would need it. Where metadata takes whole clusters,
    // such a cluster is written in one block only and keeps old data in the
    // rest; the fill after a wipe's run, which is deleted at once, must
    // leave no such cluster behind.
    bool blnOwnNoMetadata = false;
    // After a fill that ended on a full disk: the bytes its file system
    // still counted as free, which the fill could not reach.
    double dblUnreachedBytes = 0;
    // Why the last fill could not do its work, "" when it could: the root
    // could not be opened or written, a file could not be recorded, a write
    // failed for any reason but a full disk, or the file system could not
    // be synced. In test mode the window says it; in fill mode the caller
    // does, since only the caller knows what the failure ends.
    std::string strFailure;

    // The open root folder and the file last written, as it was created:
    // the speed test purges exactly this file. Null before any file.
    platform::FolderHandle* DummyFolder() const { return folder_.get(); }
    const platform::FolderEntry& DummyEntry() const { return entry_; }
    // Closes the root folder held since the fill for the callers' use of
    // its files: nothing of the program may keep the drive busy afterwards,
    // or it could not be unmounted.
    void LetGoOfDrive() { folder_.reset(); }

    // The disk wipe hands over the root folder of its drive, held open since
    // the drive was chosen: a fill or test file on that drive is written
    // there, never wherever the drive's path may lead by then. A null root
    // lets go; other drives are opened by their path as before.
    void HoldDrive(const std::string& drive, std::shared_ptr<platform::FolderHandle> root);

    // Ends a fill from outside the window (the command-line mode on a stop
    // signal): the writing stops within a MiB and every file this fill
    // wrote is deleted without a question; blnStopp is left set.
    void AbandonFill() { abandoned_ = true; }

    // After a wipe, however it ended: deletes each dummy file of the last
    // fill that is still there (only while its name still leads to the
    // file written) and forgets those gone, so no disk is left full. The
    // partial file the user chose to keep in "Delete dummy file?" stays,
    // recorded for the next start.
    void DeleteDummyFilesLeft();
    // The names pass (NamesPass.h) on the held drive, shown in this window
    // as "Overwriting file names in Drive D:" with the count of entries.
    // F10, the close box or AbandonFill stops it; it deletes its entries
    // however it ends.
    NamesPassOutcome OverwriteFileNames();
    // Bytes the fill under way (or the last one) has written in all.
    double BytesWritten() const { return totalWritten_; }
    // True when the last fill wrote this file (and has not yet forgotten it).
    bool Wrote(const platform::FileIdentity& file) const;

    ui::Control& lblLabel;

  private:
    enum class Ending { Complete, DiskFull, Failed, Cancelled, Abandoned };

    void Form_Activate();
    void WriteDummyFiles();
    std::unique_ptr<platform::NewFile> CreateNextFile(Ending& ending);
    Ending WriteOneFile(platform::NewFile& file, double& total, double target);
    Ending FinishFile(platform::NewFile& file);
    Ending AskAboutStop(platform::NewFile& file);
    void DeleteEveryFileWritten();
    void ReportUnreachedSpace();
    void ShowError(const std::string& why);
    void SyncBeforeDeleting();
    void ProgressUpdate();
    void RunNamesPass();

    std::string baseText_;
    std::uint64_t bytes_ = 0;  // of the current file
    double totalWritten_ = 0;
    bool abandoned_ = false;
    bool namesPass_ = false;  // the window shows the names pass, not a fill
    NamesPassOutcome namesOutcome_;
    bool partialKept_ = false;  // "Delete dummy file?" was answered No
    // The file system's reserve is lowered: writes must find their space
    // while they are made, or the system may lose them later for want of it.
    bool writeThrough_ = false;
    std::shared_ptr<platform::FolderHandle> folder_;
    char heldLetter_ = 0;
    std::shared_ptr<platform::FolderHandle> held_;
    platform::FolderEntry entry_;
    std::vector<platform::FolderEntry> written_;  // by this fill, in order
};

// base + n for the smallest n = 1, 2, ... that names no entry at all
// (a file, folder or symbolic link); "c:\dummy" gives "c:\dummy1".
std::string NextFreeFileName(const std::string& base);
