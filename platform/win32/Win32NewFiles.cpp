// New files on Windows: created with FILE_CREATE relative to the folder's
// handle, so that no existing entry, and no reparse point planted under the
// name, is ever opened; written with plain WriteFile.
#include "platform/NewFiles.h"
#include "platform/win32/NtOpenOptions.h"
#include "platform/win32/Win32Entries.h"
#include "platform/win32/Win32FolderHandle.h"

namespace platform {
namespace {

void Describe(DWORD error, FileFailure& failure) {
    failure.diskFull = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ||
                       error == ERROR_DISK_QUOTA_EXCEEDED;
    failure.nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    failure.why = Win32ErrorText(error);
}

class Win32NewFile final : public NewFile {
  public:
    Win32NewFile(OwnedHandle file, const FileIdentity& identity) : file_(std::move(file)) {
        identity_ = identity;
    }

    std::size_t Append(const char* data, std::size_t bytes, FileFailure& failure) override {
        const DWORD piece = bytes > (DWORD{1} << 30) ? DWORD{1} << 30 : static_cast<DWORD>(bytes);
        DWORD written = 0;
        const bool ok = ::WriteFile(file_.Get(), data, piece, &written, nullptr) != 0;
        if (ok && written > 0) return written;
        // Nothing written without an error is a disk with no room left.
        Describe(ok ? DWORD{ERROR_DISK_FULL} : ::GetLastError(), failure);
        return 0;
    }

    bool Flush(FileFailure& failure) override {
        if (::FlushFileBuffers(file_.Get())) return true;
        Describe(::GetLastError(), failure);
        return false;
    }

    bool Close(FileFailure& failure) override {
        if (!file_.Valid()) return true;
        if (::CloseHandle(file_.Release())) return true;
        Describe(::GetLastError(), failure);
        return false;
    }

  private:
    OwnedHandle file_;
};

class Win32NewFiles final : public NewFiles {
  public:
    std::unique_ptr<NewFile> Create(FolderHandle& folder, const std::string& name,
                                    FileFailure& failure) override {
        OwnedHandle file;
        DWORD error = OpenRelative(Win32HandleOf(folder), name, GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                   FILE_CREATE, FILE_NON_DIRECTORY_FILE, file);
        if (error != 0) {
            Describe(error, failure);
            return nullptr;
        }
        auto facts = EntryOfHandle(file.Get(), name);
        if (!facts) {
            Describe(::GetLastError(), failure);
            return nullptr;
        }
        return std::make_unique<Win32NewFile>(std::move(file), facts->identity);
    }

    bool DeleteIfStill(FolderHandle& folder, const std::string& name,
                       const FileIdentity& expected) override {
        OwnedHandle file;
        if (OpenRelative(Win32HandleOf(folder), name, DELETE | FILE_READ_ATTRIBUTES, FILE_OPEN,
                         FILE_NON_DIRECTORY_FILE, file) != 0) {
            return false;
        }
        // Checked through the handle that deletes it: nothing put in its
        // place meanwhile can be deleted instead.
        auto now = EntryOfHandle(file.Get(), name);
        if (!now || now->kind != EntryKind::File || !now->identity.SameObjectAs(expected)) {
            return false;
        }
        return DeleteByHandle(file.Get()) == 0;
    }

    // Each dummy file was flushed when it was finished, and a volume can be
    // flushed only through a handle of the whole volume, which takes the
    // administrator; a folder handle offers nothing more to write out.
    bool SyncFileSystem(FolderHandle&, FileFailure&) override { return true; }
    // NTFS keeps its metadata in the master file table, FAT in its own
    // areas; neither hands a file's metadata a cluster of its own.
    bool MetadataTakesWholeClusters(FolderHandle&) override { return false; }
};

}  // namespace

std::shared_ptr<NewFiles> MakeSystemNewFiles() { return std::make_shared<Win32NewFiles>(); }

}  // namespace platform
