// Open folders on POSIX: a descriptor, and every query and change made
// relative to it with statx, openat and unlinkat, never following a link.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/FolderHandle.h"

namespace platform {

// Facts about `name` in the folder `folder` without following a link; an
// empty name gives the folder itself. Null when there is no such entry.
std::optional<FolderEntry> EntryAt(int folder, const std::string& name);

// The system's description of an errno value, as the user reads it.
std::string SystemErrorText(int error);

class PosixFolderHandle final : public FolderHandle {
  public:
    // Takes over an open folder descriptor; null (and the descriptor
    // closed) when it is no folder.
    static std::unique_ptr<PosixFolderHandle> Adopt(int descriptor, std::string* why);
    ~PosixFolderHandle() override;

    std::optional<std::vector<FolderEntry>> Read(std::string* why) override;
    std::optional<FolderEntry> Look(const std::string& name) override;
    std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                                const FileIdentity& expected,
                                                std::string* why) override;
    bool SetReadOnly(const std::string& name, const FileIdentity& expected,
                     bool readOnly) override;
    bool RemoveSubfolder(const std::string& name, const FileIdentity& expected) override;
    std::unique_ptr<FolderHandle> OpenParent(const FileIdentity& expected,
                                             std::string* why) override;
    bool CanOpenParent() const override { return true; }
    bool TellsNamesApartByCase() const override;
    std::intptr_t NativeHandle() const override { return descriptor_; }

  private:
    explicit PosixFolderHandle(int descriptor) : descriptor_(descriptor) {}
    int descriptor_;
};

// Opens `name` in `folder` as a folder without following a link, crossing
// into another mount if it is one. -1 (errno set) otherwise.
int OpenFolderAt(int folder, const std::string& name);

// True for a name that stands for one entry of a folder: not empty, not
// "." or "..", no "/".
bool IsSingleName(const std::string& name);

}  // namespace platform
