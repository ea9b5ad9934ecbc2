// One listing or purge, as a value: what to walk, how to purge it, what to
// leave, and the speeds its estimate uses. The main window builds it from
// its controls, the command line from an operation file and its
// arguments, and the disk wipe for its whole drive; the report window runs
// it (frmReport::ProcessFiles) and reads nothing else of those windows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"
#include "purge/PurgeOptions.h"

// The purge confirmation's six options are part of every run, under the
// same names (PurgeOptions).
struct PurgeRun : PurgeOptions {
    // Which run.
    bool blnListFiles = false;
    bool blnPurgeFiles = false;
    bool blnDisplayFolderNames = false;
    bool blnDisplayFileNames = false;

    // What to walk. A drive folder held open (a wipe's root, opened when
    // the drive was chosen) is walked instead of opening strNextDirPath,
    // so a drive path retargeted or mounted over meanwhile cannot move the
    // run to another folder.
    std::string strNextDirPath;
    std::string strCurrentFileSpec;
    std::shared_ptr<platform::FolderHandle> heldFolder;
    bool blnSubdirectories = false;
    // The selected folder, whose drive's speed the estimate and the
    // progress marks use ("" for none: the run's own folder is taken).
    std::string strFolderPath;

    // How.
    int intPurgeType = 1;
    int intNumberOfPasses = 1;
    int intNumOverwrites = 1;
    // The purge type in the words of the purge header ("random bytes 3
    // times") and of the main window's label, which the listing repeats.
    std::string strPurgeTypeNumPasses;
    std::string strTypeOfPurge;
    bool blnConfirmFiles = false;
    // Per-drive tables, indexed by drive letter - 'A'.
    std::array<std::int32_t, 26> lngClusterSizeByDrive{};
    std::array<float, 26> sngPurgeSpeed{};

    // What a disk wipe leaves, and how it reports.
    bool blnWipeDisk = false;
    bool blnKeepTopFiles = false;
    // The excluded folders as the report names them, and as what they are:
    // one renamed since it was chosen is still kept.
    std::vector<std::string> strExcludedFolders;
    std::vector<platform::FileIdentity> excludedFolders;
    // True for a file the wipe's fill wrote: only those are purged at the
    // root while top-level files are kept.
    std::function<bool(const platform::FileIdentity&)> fillWrote;

    // True when the folder is one a disk wipe keeps, known by what it is:
    // a folder made since under a kept folder's old name is not kept.
    bool KeepsFolder(const platform::FileIdentity& folder) const {
        if (!blnWipeDisk) return false;
        for (const auto& kept : excludedFolders) {
            if (kept.SameObjectAs(folder)) return true;
        }
        return false;
    }
};

// What a run hands back: its counts and how it ended.
struct RunOutcome {
    std::int32_t lngNumFilesProcessed = 0;
    std::int32_t lngNumFilesPurged = 0;
    std::int32_t lngNumEntriesSkipped = 0;
    double dblTotalFileBytes = 0;
    bool blnStop = false;
};
