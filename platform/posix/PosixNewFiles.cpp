// New files on POSIX: created with O_CREAT | O_EXCL | O_NOFOLLOW relative
// to the folder's descriptor, so that no existing entry, and no link planted
// under the name, is ever opened; written with plain write(2), or with
// O_DIRECT when written through. A file that must own no cluster of
// metadata counts its extents before every write (see InodeExtents.h).
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/NewFiles.h"
#include "platform/posix/AllocationUnit.h"
#include "platform/posix/InodeExtents.h"
#include "platform/posix/PosixFolderHandle.h"

namespace platform {
namespace {

// A file system that gives each block of metadata a whole cluster: its
// cluster and its block.
struct WholeClusterMetadata {
    std::uint64_t clusterBytes;
    std::uint64_t blockBytes;
};

std::optional<WholeClusterMetadata> MetadataClustersAt(int fd) {
    struct statvfs space {};
    if (::fstatvfs(fd, &space) != 0) return std::nullopt;
    const std::uint64_t block = space.f_frsize ? space.f_frsize : space.f_bsize;
    const std::uint64_t cluster = AllocationUnitAt(fd);
    if (cluster <= block) return std::nullopt;
    return WholeClusterMetadata{cluster, block};
}

void Describe(int error, FileFailure& failure) {
    failure.diskFull = error == ENOSPC || error == EDQUOT;
    failure.nameTaken = error == EEXIST;
    failure.why = SystemErrorText(error);
}

class PosixNewFile final : public NewFile {
  public:
    PosixNewFile(int fd, const FileIdentity& identity) : fd_(fd) { identity_ = identity; }
    ~PosixNewFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    // From now on no write may give the file a cluster of its own metadata.
    void OwnNoMetadata(const WholeClusterMetadata& layout) { noMetadata_ = layout; }

    std::size_t Append(const char* data, std::size_t bytes, FileFailure& failure) override {
        if (noMetadata_) bytes = WithinItsInode(bytes, failure);
        if (bytes == 0) return 0;
        for (;;) {
            ssize_t n = ::write(fd_, data, bytes);
            if (n > 0) {
                size_ += static_cast<std::uint64_t>(n);
                return static_cast<std::size_t>(n);
            }
            // A stop signal may cut a write short; the write is simply repeated.
            if (n < 0 && errno == EINTR) continue;
            // A direct write must be aligned to the device's sectors; one that
            // is not goes through the cache instead.
            if (n < 0 && errno == EINVAL && DropDirect()) continue;
            Describe(n == 0 ? ENOSPC : errno, failure);
            return 0;
        }
    }

    bool Flush(FileFailure& failure) override {
        if (::fdatasync(fd_) == 0) return true;
        if (errno == EINVAL && ::fsync(fd_) == 0) return true;
        Describe(errno, failure);
        return false;
    }

    bool Close(FileFailure& failure) override {
        if (fd_ < 0) return true;
        int result = ::close(fd_);
        fd_ = -1;
        if (result == 0 || errno == EINTR) return true;
        Describe(errno, failure);
        return false;
    }

  private:
    // The part of `bytes` that no layout of the free space can spread over
    // more extents than the inode holds: each new cluster may start an
    // extent of its own. 0 with failure.fileFull when the inode's extents
    // are used up, or failure.why when the file took metadata all the same.
    std::size_t WithinItsInode(std::size_t bytes, FileFailure& failure) {
        const int extents = ExtentsOfFile(fd_, noMetadata_->blockBytes);
        if (extents < 0) {
            Describe(errno, failure);
            return 0;
        }
        if (HoldsClustersBeyondItsData(fd_, noMetadata_->clusterBytes)) {
            failure.why = "a dummy file took a cluster for its own extent tree";
            return 0;
        }
        if (extents >= kExtentsInInode) {
            failure.fileFull = true;
            failure.why = "no more of a file can be written without an extent tree of its own";
            return 0;
        }
        const std::uint64_t cluster = noMetadata_->clusterBytes;
        const std::uint64_t restOfCluster = (cluster - size_ % cluster) % cluster;
        const std::uint64_t room =
            restOfCluster + std::uint64_t(kExtentsInInode - extents) * cluster;
        return static_cast<std::size_t>(std::min<std::uint64_t>(bytes, room));
    }

    bool DropDirect() {
        const int flags = ::fcntl(fd_, F_GETFL);
        return flags >= 0 && (flags & O_DIRECT) != 0 &&
               ::fcntl(fd_, F_SETFL, flags & ~O_DIRECT) == 0;
    }

    int fd_;
    std::uint64_t size_ = 0;
    std::optional<WholeClusterMetadata> noMetadata_;
};

class PosixNewFiles final : public NewFiles {
  public:
    std::unique_ptr<NewFile> Create(FolderHandle& folder, const std::string& name,
                                    FileFailure& failure) override {
        return CreateWith(folder, name, false, failure);
    }

    std::unique_ptr<NewFile> CreateWrittenThrough(FolderHandle& folder, const std::string& name,
                                                  FileFailure& failure) override {
        return CreateWith(folder, name, true, failure);
    }

    std::unique_ptr<NewFile> CreateOwningNoMetadata(FolderHandle& folder, const std::string& name,
                                                    FileFailure& failure) override {
        auto file = CreateWith(folder, name, true, failure);
        const auto layout = MetadataClustersAt(static_cast<int>(folder.NativeHandle()));
        if (file && layout) file->OwnNoMetadata(*layout);
        return file;
    }

    bool DeleteIfStill(FolderHandle& folder, const std::string& name,
                       const FileIdentity& expected) override {
        auto now = folder.Look(name);
        if (!now || now->kind != EntryKind::File || !now->identity.SameObjectAs(expected)) {
            return false;
        }
        return ::unlinkat(static_cast<int>(folder.NativeHandle()), name.c_str(), 0) == 0;
    }

    bool SyncFileSystem(FolderHandle& folder, FileFailure& failure) override {
        if (::syncfs(static_cast<int>(folder.NativeHandle())) == 0) return true;
        Describe(errno, failure);
        return false;
    }

    bool MetadataTakesWholeClusters(FolderHandle& folder) override {
        return MetadataClustersAt(static_cast<int>(folder.NativeHandle())).has_value();
    }

  private:
    std::unique_ptr<PosixNewFile> CreateWith(FolderHandle& folder, const std::string& name,
                                             bool writtenThrough, FileFailure& failure) {
        if (!IsSingleName(name)) {
            Describe(EINVAL, failure);
            return nullptr;
        }
        const int at = static_cast<int>(folder.NativeHandle());
        int fd = ::openat(at, name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd < 0) {
            Describe(errno, failure);
            return nullptr;
        }
        // Asked for after the open: a file system without direct writes
        // refuses only this, and the file it created stays in use.
        if (writtenThrough) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_DIRECT);
        auto identity = EntryAt(fd, "");
        if (!identity) {
            Describe(errno, failure);
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixNewFile>(fd, identity->identity);
    }
};

}  // namespace

std::shared_ptr<NewFiles> MakePosixNewFiles() { return std::make_shared<PosixNewFiles>(); }

std::shared_ptr<NewFiles> MakeSystemNewFiles() { return MakePosixNewFiles(); }

}  // namespace platform
