// Fakes for the tests of the drive selection, the fill and the speed test:
// drives whose type or readiness a test sets, new files that count their
// bytes instead of writing them (so a fill of gigabytes takes no disk and
// no time) with a disk that runs full or fails where the test says, and a
// file system reserve that records what was done to it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DriveInfo.h"
#include "tests/disk/ChurnTestSupport.h"
#include "platform/DrivePaths.h"
#include "platform/NewFiles.h"
#include "platform/ReservedSpace.h"

namespace disk_testing {

// The real drives of the drive table, except for the letters a test
// describes otherwise.
class DriveOverrides : public platform::DriveInfo {
  public:
    struct Drive {
        int objectType = platform::kObjectFixed;
        int type = platform::kDriveFixed;
        int openError = 0;
    };
    // File system names drives report instead of their own, by letter.
    std::map<char, std::string> fileSystems;
    DriveOverrides() { platform::SetDriveInfoForTesting(Self()); }
    ~DriveOverrides() override { platform::SetDriveInfoForTesting(nullptr); }
    Drive& operator[](char letter) { return drives_[letter]; }

    std::uint32_t LogicalDriveMask() override { return real_->LogicalDriveMask(); }
    int DriveType(const std::string& path) override {
        auto it = drives_.find(platform::DriveLetterOf(path));
        return it == drives_.end() ? real_->DriveType(path) : it->second.type;
    }
    std::optional<platform::ClusterGeometry> DiskFreeSpace(const std::string& root) override {
        return real_->DiskFreeSpace(root);
    }
    std::optional<platform::DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) override {
        return real_->DiskFreeSpaceExFor(root);
    }
    int GetDrive(const std::string& name, platform::DriveObject& drive) override {
        auto it = drives_.find(platform::DriveLetterOf(name));
        if (it != drives_.end() && it->second.openError != 0) return it->second.openError;
        int error = real_->GetDrive(name, drive);
        if (error == 0 && it != drives_.end()) drive.driveType = it->second.objectType;
        auto fileSystem = fileSystems.find(platform::DriveLetterOf(name));
        if (error == 0 && fileSystem != fileSystems.end()) drive.fileSystem = fileSystem->second;
        return error;
    }

  private:
    std::shared_ptr<DriveInfo> Self() {
        return std::shared_ptr<DriveInfo>(this, [](DriveInfo*) {});
    }
    std::shared_ptr<DriveInfo> real_ = platform::MakeSystemDriveInfo();
    std::map<char, Drive> drives_;
};

// New files that are really created (empty) but whose bytes are only
// counted. The disk holds `capacity` bytes, handed out in whole blocks; a
// write past it is cut short, then refused as a full disk. With failAfter
// set, writing fails with `failure` once that many bytes are written.
class CountingFiles : public platform::NewFiles {
  public:
    CountingFiles() { platform::SetNewFilesForTesting(Self()); }
    ~CountingFiles() override { platform::SetNewFilesForTesting(nullptr); }

    std::uint64_t capacity = UINT64_MAX;
    std::uint64_t failAfter = UINT64_MAX;
    std::string failure = "Input/output error";
    std::uint64_t written = 0;
    std::map<std::string, std::uint64_t> sizes;  // by name, in creation order below
    std::vector<std::string> created;
    std::vector<std::string> flushed;
    // Runs after every write (a test presses keys here).
    std::function<void()> afterWrite;

    std::unique_ptr<platform::NewFile> Create(platform::FolderHandle& folder,
                                              const std::string& name,
                                              platform::FileFailure& failure) override {
        auto file = real_->Create(folder, name, failure);
        if (!file) return nullptr;
        created.push_back(name);
        sizes[name] = 0;
        return std::make_unique<Counted>(*this, name, std::move(file));
    }
    // Each file made to own no metadata takes at most this many bytes, then
    // reports itself full.
    std::uint64_t bytesWithoutMetadata = UINT64_MAX;
    std::vector<std::string> createdOwningNoMetadata;
    std::unique_ptr<platform::NewFile> CreateOwningNoMetadata(
        platform::FolderHandle& folder, const std::string& name,
        platform::FileFailure& failure) override {
        auto file = Create(folder, name, failure);
        if (!file) return nullptr;
        createdOwningNoMetadata.push_back(name);
        static_cast<Counted&>(*file).limit = bytesWithoutMetadata;
        return file;
    }
    bool DeleteIfStill(platform::FolderHandle& folder, const std::string& name,
                       const platform::FileIdentity& expected) override {
        steps.push_back("delete " + name);
        return real_->DeleteIfStill(folder, name, expected);
    }
    // Counted only: the machine's own disk is never synced for a test.
    bool SyncFileSystem(platform::FolderHandle&, platform::FileFailure&) override {
        steps.push_back("sync");
        return true;
    }
    // "sync" and "delete <name>" in the order they came.
    std::vector<std::string> steps;
    bool metadataTakesWholeClusters = false;
    bool MetadataTakesWholeClusters(platform::FolderHandle&) override {
        return metadataTakesWholeClusters;
    }

  private:
    class Counted : public platform::NewFile {
      public:
        Counted(CountingFiles& owner, std::string name, std::unique_ptr<platform::NewFile> real)
            : owner_(owner), name_(std::move(name)), real_(std::move(real)) {
            identity_ = real_->Identity();
        }
        std::uint64_t limit = UINT64_MAX;

        std::size_t Append(const char*, std::size_t bytes,
                           platform::FileFailure& failure) override {
            const std::uint64_t room = limit - std::min(limit, owner_.sizes[name_]);
            if (room == 0) {
                failure.fileFull = true;
                failure.why = "no room without metadata";
                return 0;
            }
            bytes = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, room));
            std::size_t n = owner_.Take(bytes, failure);
            owner_.sizes[name_] += n;
            if (owner_.afterWrite) owner_.afterWrite();
            return n;
        }
        bool Flush(platform::FileFailure&) override {
            owner_.flushed.push_back(name_);
            return true;
        }
        bool Close(platform::FileFailure& failure) override { return real_->Close(failure); }

      private:
        CountingFiles& owner_;
        std::string name_;
        std::unique_ptr<platform::NewFile> real_;
    };

    std::size_t Take(std::size_t bytes, platform::FileFailure& fail) {
        if (written >= failAfter) {
            fail.diskFull = false;
            fail.why = failure;
            return 0;
        }
        std::uint64_t room = (capacity - written) / 512 * 512;
        if (room == 0) {
            fail.diskFull = true;
            fail.why = "No space left on device";
            return 0;
        }
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, room));
        written += n;
        return n;
    }
    std::shared_ptr<NewFiles> Self() {
        return std::shared_ptr<NewFiles>(this, [](NewFiles*) {});
    }
    std::shared_ptr<NewFiles> real_ = platform::MakeSystemNewFiles();

  public:
    // The names pass after a wipe's run is counted too.
    CountedChurn churn;
};

// A reserve of `bytes` that can be lowered; every step is logged.
class FakeReserve : public platform::ReservedSpace {
  public:
    FakeReserve() {
        platform::SetReservedSpaceForTesting(
            std::shared_ptr<ReservedSpace>(this, [](ReservedSpace*) {}));
    }
    ~FakeReserve() override { platform::SetReservedSpaceForTesting(nullptr); }

    std::uint64_t bytes = 0;  // 0: the file system has no reserve
    std::uint64_t freeAfterwards = 0;
    std::vector<std::string> log;

    std::optional<std::string> Describe(platform::FolderHandle&) override {
        if (bytes == 0) return std::nullopt;
        return "fake " + std::to_string(bytes);
    }
    std::uint64_t Lower(const std::string& record) override {
        log.push_back("lower " + record);
        return bytes;
    }
    bool Restore(const std::string& record) override {
        log.push_back("restore " + record);
        return true;
    }
    std::uint64_t FreeBytesOfAnyKind(platform::FolderHandle&) override { return freeAfterwards; }
};

}  // namespace disk_testing
