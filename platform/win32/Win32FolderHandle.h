// Open folders on Windows: a directory handle, every query and change made
// relative to it (Win32Entries.h), never following a reparse point and
// never entering a folder of another volume.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/FolderHandle.h"
#include "platform/win32/WideText.h"

namespace platform {

class Win32FolderHandle final : public FolderHandle {
  public:
    // Takes over an open handle; null when it is no folder (a reparse point
    // counts as none), with the reason.
    static std::unique_ptr<Win32FolderHandle> Adopt(OwnedHandle handle, std::string* why);

    std::optional<std::vector<FolderEntry>> Read(std::string* why) override;
    std::optional<FolderEntry> Look(const std::string& name) override;
    std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                                const FileIdentity& expected,
                                                std::string* why) override;
    bool SetReadOnly(const std::string& name, const FileIdentity& expected,
                     bool readOnly) override;
    bool RemoveSubfolder(const std::string& name, const FileIdentity& expected) override;
    // Windows looks names up without regard to case.
    bool TellsNamesApartByCase() const override { return false; }
    std::intptr_t NativeHandle() const override {
        return reinterpret_cast<std::intptr_t>(handle_.Get());
    }

  private:
    explicit Win32FolderHandle(OwnedHandle handle) : handle_(std::move(handle)) {}
    // Opens `name` with `access` only while it is still `expected`.
    bool OpenIfStill(const std::string& name, const FileIdentity& expected, ACCESS_MASK access,
                     ULONG options, OwnedHandle& opened, FolderEntry* seen = nullptr);
    OwnedHandle handle_;
};

// The open folder a native handle of a FolderHandle stands for.
inline HANDLE Win32HandleOf(const FolderHandle& folder) {
    return reinterpret_cast<HANDLE>(folder.NativeHandle());
}

}  // namespace platform
