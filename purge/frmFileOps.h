// The purge run's exclusion rules, held by a window that is never shown:
// the table of sensitive file extensions with the permission the run has
// for each, and ExcludedFile, which tells whether a file may be purged.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"
#include "ui/Form.h"

class frmFileOps : public ui::Form {
  public:
    frmFileOps();

    // Result codes of ExcludedFile; 0 means the file may be purged.
    static constexpr std::int16_t kInProgramFolder = 1;
    static constexpr std::int16_t kSwapFile = 2;
    static constexpr std::int16_t kSensitiveNotAllowed = 7;
    static constexpr std::int16_t kSensitiveRefused = 8;

    // Permissions: 1 may be purged, 0 ask, -1 refused for this run.
    static constexpr int kMaxSensitiveExtns = 20;
    // Entries 1 to intNumSensitiveExtns are in use; entry 0 never is.
    std::array<std::string, kMaxSensitiveExtns + 1> strSensitiveExtension;
    std::array<std::int16_t, kMaxSensitiveExtns + 1> intExtensionPermission{};
    std::int16_t intNumSensitiveExtns = 0;

    // The twelve sensitive extensions, each with permission intVal.
    void SetSensitiveFileExtensions(std::int16_t intVal);
    // Gives the first entry whose extension is exactly strExt the
    // permission intVal; no such entry, no change.
    void SetValueForPurgeFilesWithExtension(const std::string& strExt, std::int16_t intVal);
    // 1 for a file directly in the program's own folder or its per-user
    // folder (the next-run setup); 2 for a swap file
    // in use, or a file with the extension "swp"; for a sensitive extension
    // 8 when refused, 7 when not yet allowed; otherwise 0. The program's
    // folder and the swap files are recognised by identity, so no spelling
    // of a path (another drive letter, "..", other case) hides them.
    // `folder` is the identity of the folder holding the file, `file` the
    // file's own.
    std::int16_t ExcludedFile(const std::string& strFilepath, const platform::FileIdentity& folder,
                              const platform::FileIdentity& file) const;
    // The same for the file a path names, looked up first.
    std::int16_t ExcludedFile(const std::string& strFilepath) const;

  private:
    // What the program must never purge, as it is at the start of a run.
    void LearnProtectedFiles();
    std::optional<platform::FileIdentity> programFolder_;
    std::optional<platform::FileIdentity> userFolder_;  // the per-user setup's folder
    std::vector<platform::FileIdentity> swapFiles_;
};
