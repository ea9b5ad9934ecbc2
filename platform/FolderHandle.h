// An open folder: what a run walks through and acts on.
//
// A drive path is text for people; a run holds its folders open and does
// everything relative to them. A subfolder is opened from its parent's
// handle by its one name and only while it is still the folder the run
// listed, so a folder renamed, swapped for a symbolic link or mounted over
// while the run goes on can never lead it out of the tree it was given.
// Nothing here follows a symbolic link, and nothing opens a FIFO or device.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class EntryKind : std::uint8_t { File, Folder, SymbolicLink, Other /* FIFO, device, socket */ };

// What tells one file-system object from every other: a run compares it
// before each step that cannot be undone.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // The mount the object is seen through; 0 where the system cannot tell
    // (two bind mounts of one file system share the device, not the mount).
    std::uint64_t mount = 0;

    bool SameObjectAs(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }
    bool SameMountAs(const FileIdentity& other) const {
        return device == other.device && (mount == 0 || other.mount == 0 || mount == other.mount);
    }
    bool operator==(const FileIdentity& other) const {
        return SameObjectAs(other) && SameMountAs(other);
    }
};

// One entry of a folder as it was seen, without following a link.
struct FolderEntry {
    std::string name;  // as the file system spells it
    EntryKind kind = EntryKind::Other;
    FileIdentity identity;
    std::uint64_t size = 0;   // bytes, for a regular file
    std::uint32_t links = 1;  // names the object has in the file system
    bool readOnly = false;    // POSIX: the owner's write bit is clear
};

class FolderHandle {
  public:
    virtual ~FolderHandle() = default;

    const FileIdentity& Identity() const { return identity_; }

    // The entries in the file system's own order, without "." and "..";
    // null when the folder cannot be read, with the system's reason.
    virtual std::optional<std::vector<FolderEntry>> Read(std::string* why = nullptr) = 0;

    // The entry `name` as it is now; null when there is none.
    virtual std::optional<FolderEntry> Look(const std::string& name) = 0;

    // The subfolder `name`, opened only when it is still `expected` (the
    // same object on the same mount); null otherwise, with the reason.
    virtual std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                                        const FileIdentity& expected,
                                                        std::string* why = nullptr) = 0;

    // Sets or clears read-only on the file `name` if it is still `expected`
    // (clearing gives the owner write permission). True when done.
    virtual bool SetReadOnly(const std::string& name, const FileIdentity& expected,
                             bool readOnly) = 0;

    // Removes the empty subfolder `name` if it is still `expected`.
    virtual bool RemoveSubfolder(const std::string& name, const FileIdentity& expected) = 0;

    // The folder holding this one, opened only when it is still `expected`
    // (the folder this one was opened from, wherever the two now are); null
    // otherwise, with the reason. Only where CanOpenParent().
    virtual std::unique_ptr<FolderHandle> OpenParent(const FileIdentity& expected,
                                                     std::string* why = nullptr);
    // Whether OpenParent works here. Where it does not (Windows, whose
    // processes may hold millions of handles), a walk keeps every folder
    // above the one it is in open.
    virtual bool CanOpenParent() const { return false; }

    // Whether this folder holds "Case.txt" and "case.txt" as two files. Where
    // it does, a name shown in lower case could stand for either, so names
    // are shown as the file system spells them.
    virtual bool TellsNamesApartByCase() const = 0;

    // The system's handle of the folder, for the purge library. It stays
    // owned by this object.
    virtual std::intptr_t NativeHandle() const = 0;

  protected:
    // A subfolder just opened by name, kept only while it lies on this
    // folder's file system and is still the one that was listed.
    std::unique_ptr<FolderHandle> KeptIfStill(std::unique_ptr<FolderHandle> sub,
                                              const FileIdentity& expected,
                                              std::string* why) const;

    FileIdentity identity_;
};

// Gives a caller that asked for the reason of a failure that reason.
inline void SetWhy(std::string* why, const std::string& text) {
    if (why != nullptr) *why = text;
}

}  // namespace platform
