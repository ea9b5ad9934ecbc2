#include "disk/NamesPass.h"

#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "disk/FillLeftovers.h"
#include "platform/EntryChurn.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"

namespace {

// Entries made between two syncs: each sync commits a transaction, which
// writes every metadata block the round changed through the journal.
constexpr std::uint64_t kEntriesPerRound = 512;
// Entries alive at once: enough to take every free slot of a small file
// system's inode tables, few enough to keep their names in memory.
constexpr std::uint64_t kMostEntriesAtOnce = 65536;
// Where the file system counts what it writes to its log, the log is
// written through once and an eighth more: a ring written its whole size
// from anywhere holds nothing older, and the eighth covers the last round
// still under way at the head. Once was found to reach every old name on
// XFS, half of that not.
constexpr std::uint64_t kLogEighthsWhenCounted = 9;
// Otherwise the disk's writes are the measure, which count the metadata
// written in place besides the log: the disk is written twice the log's
// size, which is not quite twice the log.
constexpr std::uint64_t kLogTimes = 2;
// Where the disk's writes cannot be counted, an entry made and deleted is
// taken to write no more than this (a folder slot and an inode, each
// logged twice, fall well short of it on any file system).
constexpr std::uint64_t kAssumedBytesPerEntry = 512;
// Every how many entries the caller is asked whether to go on.
constexpr std::uint64_t kAskEvery = 64;
// Every this many entries is a folder (holding one file of its own): a
// folder takes a folder block, or on XFS the inline space of its inode,
// that a file does not.
constexpr std::uint64_t kFolderEvery = 8;

// Names that say nothing, as long as names may be: they fill the longest
// free slot they land in.
class NameMaker {
  public:
    std::string Next() {
        static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::string name(200 + std::size_t(random_() % 56), 'a');
        // Ten letters from each 64-bit draw (2 to the 64th is over 5,000
        // times 36 to the 10th, so all are nearly as likely): a draw for
        // each letter cost more than all else of making the name.
        std::uint64_t draw = 0;
        int left = 0;
        for (auto& c : name) {
            if (left == 0) {
                draw = random_();
                left = 10;
            }
            c = kLetters[draw % 36];
            draw /= 36;
            --left;
        }
        return name;
    }

  private:
    std::mt19937_64 random_{std::random_device{}()};
};

struct Made {
    std::string name;
    platform::FileIdentity identity;
    bool folder = false;
    std::string inner;  // a folder's file
    platform::FileIdentity innerIdentity;
};

class Pass {
  public:
    Pass(platform::FolderHandle& root, std::string drive,
         const std::function<bool(std::uint64_t)>& keepGoing)
        : root_(root), drive_(std::move(drive)), keepGoing_(keepGoing),
          churn_(platform::TheEntryChurn()) {}

    NamesPassOutcome Run();

  private:
    bool MakeOwnFolder();
    enum class CycleEnd { Enough, Full };
    CycleEnd MakeEntries();
    bool MakeOne();
    void DeleteEntries();
    void DeleteOwnFolder();
    bool Enough();
    std::optional<std::uint64_t> Logged();
    void Sync();

    platform::FolderHandle& root_;
    std::string drive_;
    const std::function<bool(std::uint64_t)>& keepGoing_;
    platform::EntryChurn& churn_;
    NamesPassOutcome outcome_;
    NameMaker names_;
    std::string folderName_;
    std::unique_ptr<platform::FolderHandle> folder_;
    std::vector<Made> made_;
    std::uint64_t target_ = 0;
    std::uint64_t nextAsk_ = 0;
    std::optional<std::uint64_t> writtenAtStart_;
    std::optional<std::uint64_t> loggedAtStart_;
};

NamesPassOutcome Pass::Run() {
    // A file system kept in memory (no log) leaves nothing on a disk: a
    // round takes its free slots, and that is all there is to do.
    loggedAtStart_ = churn_.BytesWrittenToLog(root_);
    const std::uint64_t logBytes = churn_.LogBytes(root_);
    target_ = loggedAtStart_ ? logBytes / 8 * kLogEighthsWhenCounted : kLogTimes * logBytes;
    writtenAtStart_ = churn_.BytesWrittenToDisk(root_);
    if (!MakeOwnFolder()) return outcome_;
    for (;;) {
        const std::uint64_t before = outcome_.entriesWritten;
        const CycleEnd end = MakeEntries();
        DeleteEntries();
        // A full file system is emptied of the pass's entries and filled
        // again, as long as that makes any (deleting writes too).
        if (end == CycleEnd::Enough || outcome_.entriesWritten == before || Enough()) break;
    }
    DeleteOwnFolder();
    return outcome_;
}

bool Pass::MakeOwnFolder() {
    for (long n = 1;; ++n) {
        folderName_ = "dummy" + std::to_string(n);
        if (root_.Look(folderName_)) continue;
        platform::FileFailure failure;
        folder_ = churn_.MakeFolder(root_, folderName_, failure);
        if (!folder_ && failure.nameTaken) continue;  // it appeared meanwhile
        if (!folder_) {
            outcome_.failure = failure.why;
            return false;
        }
        if (!RecordNamesFolder(LowerCase(drive_ + "\\" + folderName_), folder_->Identity())) {
            // A folder nobody would know of is never filled.
            const auto identity = folder_->Identity();
            folder_.reset();
            root_.RemoveSubfolder(folderName_, identity);
            outcome_.failure = "its folder cannot be recorded in " + FillRecordPath();
            return false;
        }
        return true;
    }
}

// Makes entries in rounds until the log has been written through enough
// (or nearly, where it is counted), no more can be made (or as many as are
// kept at once are), or the pass is told to stop or fails.
Pass::CycleEnd Pass::MakeEntries() {
    std::optional<std::uint64_t> free = churn_.FreeEntries(root_);
    for (;;) {
        for (std::uint64_t i = 0; i < kEntriesPerRound; ++i) {
            const bool roomLeft = !free || made_.size() + 2 < *free;
            if (!roomLeft || made_.size() >= kMostEntriesAtOnce || !MakeOne()) {
                Sync();
                return outcome_.failure.empty() && !outcome_.stopped ? CycleEnd::Full
                                                                     : CycleEnd::Enough;
            }
            if (outcome_.entriesWritten < nextAsk_) continue;
            nextAsk_ = outcome_.entriesWritten + kAskEvery;
            if (!keepGoing_(outcome_.entriesWritten)) {
                outcome_.stopped = true;
                Sync();
                return CycleEnd::Enough;
            }
        }
        Sync();
        if (!outcome_.failure.empty() || Enough()) return CycleEnd::Enough;
        // Deleting the entries writes the log too (about a fifth of what
        // making them wrote): where it is counted, making stops short by
        // that much, and whatever is left is made up in a further cycle.
        const auto logged = Logged();
        if (logged && *logged >= target_ / 5 * 4) return CycleEnd::Full;
    }
}

// False when no entry was made: the file system is full (which ends the
// round), or it failed (said in the outcome).
bool Pass::MakeOne() {
    Made entry;
    entry.name = names_.Next();
    entry.folder = (outcome_.entriesWritten + 1) % kFolderEvery == 0;
    platform::FileFailure failure;
    if (entry.folder) {
        auto sub = churn_.MakeFolder(*folder_, entry.name, failure);
        if (sub) {
            entry.identity = sub->Identity();
            made_.push_back(entry);
            ++outcome_.entriesWritten;
            entry.inner = names_.Next();
            auto inner = churn_.MakeEmptyFile(*sub, entry.inner, failure);
            if (inner) {
                made_.back().inner = entry.inner;
                made_.back().innerIdentity = *inner;
                ++outcome_.entriesWritten;
            }
            if (inner || failure.diskFull) return bool(inner);
        }
    } else if (auto file = churn_.MakeEmptyFile(*folder_, entry.name, failure)) {
        entry.identity = *file;
        made_.push_back(entry);
        ++outcome_.entriesWritten;
        return true;
    }
    // A random name taken is chance, a full file system the normal end.
    if (failure.nameTaken) return true;
    if (!failure.diskFull) outcome_.failure = failure.why;
    return false;
}

void Pass::DeleteEntries() {
    for (const auto& entry : made_) {
        bool deleted = false;
        if (!entry.folder) {
            deleted = churn_.DeleteFile(*folder_, entry.name, entry.identity);
        } else if (auto sub = folder_->OpenSubfolder(entry.name, entry.identity)) {
            if (!entry.inner.empty()) churn_.DeleteFile(*sub, entry.inner, entry.innerIdentity);
            sub.reset();
            deleted = folder_->RemoveSubfolder(entry.name, entry.identity);
        }
        if (!deleted) outcome_.leftBehind = true;
    }
    made_.clear();
    Sync();
}

void Pass::DeleteOwnFolder() {
    const auto identity = folder_->Identity();
    folder_.reset();
    if (root_.RemoveSubfolder(folderName_, identity) || !root_.Look(folderName_)) {
        ForgetDummyFile(LowerCase(drive_ + "\\" + folderName_));
    } else {
        outcome_.leftBehind = true;  // it stays recorded for the next start
    }
    Sync();
}

// The log (or else the disk) has been written the target's bytes since
// the pass began.
bool Pass::Enough() {
    if (const auto logged = Logged()) return *logged >= target_;
    if (writtenAtStart_) {
        const auto now = churn_.BytesWrittenToDisk(root_);
        if (now) return *now - *writtenAtStart_ >= target_;
    }
    return outcome_.entriesWritten * kAssumedBytesPerEntry >= target_;
}

// Bytes written to the log since the pass began; null where the file
// system does not count them, or its count started anew (mounted again).
std::optional<std::uint64_t> Pass::Logged() {
    if (!loggedAtStart_) return std::nullopt;
    const auto now = churn_.BytesWrittenToLog(root_);
    if (!now || *now < *loggedAtStart_) return std::nullopt;
    return *now - *loggedAtStart_;
}

void Pass::Sync() {
    platform::FileFailure failure;
    if (!churn_.Sync(root_, failure) && outcome_.failure.empty()) {
        outcome_.failure = "the file system cannot be synced: " + failure.why;
    }
}

}  // namespace

NamesPassOutcome OverwriteDeletedNames(platform::FolderHandle& root, const std::string& drive,
                                       const std::function<bool(std::uint64_t)>& keepGoing) {
    return Pass(root, drive, keepGoing).Run();
}

std::string NamesPassNote(const std::string& drive, const NamesPassOutcome& outcome,
                          const std::string& br) {
    const std::string count = FormatNumber(double(outcome.entriesWritten), 0);
    std::string text;
    if (!outcome.failure.empty()) {
        text = "The names of deleted files on Drive " + drive + " could not be overwritten (" +
               count + " entries written): " + VisibleText(outcome.failure) + br;
    } else if (outcome.stopped) {
        text = "The overwriting of file names on Drive " + drive + " was stopped after " + count +
               " entries," + br + "so names of deleted files may still lie in the file system." +
               br;
    } else {
        text = "File names: " + count + " entries with random names were written on Drive " +
               drive + " and deleted," + br +
               "so the names of deleted files that the file system kept are overwritten too." + br;
    }
    if (outcome.leftBehind) {
        text += "Some of these entries could not be deleted; they stay recorded for the next start." +
                br;
    }
    return text;
}
