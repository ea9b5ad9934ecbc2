// The file procedures: PurgeFile, the program's one road to the purge
// library. It applies the program's own rules for read-only files and for
// the cluster size of slack purging, calls the library for one pass, and
// hands back the library's code.
//
// The library is handed the open folder and the identity of the file the
// caller looked at, never a path to parse again, so it acts on that file or
// on nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"

// Codes PurgeFile produces itself; every other code is the library's (see
// torvix/torvix.h): 0 done, -2 cannot open, -3 write error, -4 to -6
// overwritten but not deleted, -7 flush error, -8 bad type, -9 bad cluster,
// -10 the file kept growing, -11 other hard links, -12 not the file looked at;
// 1 done, but a full disk left no space to overwrite the slack.
constexpr std::int16_t kPurgeSlackNotReached = 1;
constexpr std::int16_t kPurgeReadOnlyRefused = -53;  // read-only and not allowed
constexpr std::int16_t kPurgeNoClusterSize = -9;     // no usable cluster size for slack
constexpr std::int16_t kPurgeFileGrew = -10;
constexpr std::int16_t kPurgeOtherLinks = -11;
constexpr std::int16_t kPurgeFileReplaced = -12;

// Purges `file`, an entry of the open `folder` as the caller saw it, for one
// call of the library (intPasses passes of intPurgeType; callers pass 1).
// strPath is the file's drive path, for its drive.
//  1. The file is looked at again: if it is no longer the file the caller
//     saw, the result is -12 and nothing is changed. A read-only file: with
//     blnReadOnlyOK false the result is -53 and the library is not called;
//     otherwise its read-only attribute is cleared (other attributes kept)
//     and is not set again, whatever the outcome.
//  2. With blnPurgeSlack, a lngClusterSize below 512 is replaced by
//     EstimateClusterSize of the path's drive ("C:\"); an estimate that is
//     not a multiple of 512 from 512 to 65536 gives -9 without calling the
//     library. 512 or more is passed on unchanged. Without slack the library
//     always receives -1.
//  3. The library is called; intResultCode receives the low 16 bits of its
//     result and *lngSeconds (when not null) the seconds it reports.
// -1 when the library cannot be loaded.
// Returns true when the library's result is 0 or more.
bool PurgeFile(platform::FolderHandle& folder, const platform::FolderEntry& file,
               const std::string& strPath, std::int16_t intPurgeType, std::int16_t intPasses,
               bool blnDelete, bool blnRunFlag, bool blnReadOnlyOK, bool blnPurgeSlack,
               std::int32_t lngClusterSize, std::int16_t& intResultCode, std::int32_t* lngSeconds);

// The same for the file a drive path names, resolved without following a
// link in any part of it; -2 when it names no regular file.
bool PurgeFile(const std::string& strPath, std::int16_t intPurgeType, std::int16_t intPasses,
               bool blnDelete, bool blnRunFlag, bool blnReadOnlyOK, bool blnPurgeSlack,
               std::int32_t lngClusterSize, std::int16_t& intResultCode, std::int32_t* lngSeconds);

// The arguments of one call of the library's kz_purge_file_at.
struct PurgeLibraryRequest {
    std::intptr_t folder = -1;
    std::string name;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int32_t purgeType = 0;
    std::int32_t passes = 1;
    std::int32_t deleteWhenDone = 0;
    std::int32_t runFlag = 1;
    std::int32_t purgeSlack = 0;
    std::int32_t clusterSize = -1;
};
// The real library's answer to a request (LibraryUnavailable when it
// cannot be loaded).
std::int32_t CallPurgeLibrary(const PurgeLibraryRequest& request, std::int32_t& seconds);

// Tests install a call to see what the library would receive; an empty
// function restores the real library.
using PurgeLibraryCall =
    std::function<std::int32_t(const PurgeLibraryRequest& request, std::int32_t& seconds)>;
void SetPurgeLibraryForTesting(PurgeLibraryCall call);

// Purges many files of the open `folder` in one call of the library, as
// PurgeFile purges each for intPasses passes, with the library's own
// checks of each file; codes[i] receives the result for files[i] as
// intResultCode would. The caller has looked at each file just before: a
// regular file, not read-only. strFolderPath is the folder's drive path.
// *lngSeconds (when not null) receives the seconds of the whole call.
void PurgeFiles(platform::FolderHandle& folder, const std::vector<platform::FolderEntry>& files,
                const std::string& strFolderPath, std::int16_t intPurgeType,
                std::int16_t intPasses, bool blnDelete, bool blnRunFlag, bool blnPurgeSlack,
                std::int32_t lngClusterSize, std::vector<std::int16_t>& codes,
                std::int32_t* lngSeconds);

// The arguments of one call of the library's kz_purge_files_at.
struct PurgeLibraryBatch {
    PurgeLibraryRequest common;  // name, device and inode unused
    std::vector<PurgeLibraryRequest> files;  // name, device and inode of each
};
// The real library's answer: results[i] for files[i].
void CallPurgeLibrary(const PurgeLibraryBatch& batch, std::vector<std::int32_t>& results,
                      std::int32_t& seconds);

// False while a test sees every file through SetPurgeLibraryForTesting:
// then files are purged one call each.
bool CanPurgeFilesTogether();
using PurgeLibraryBatchCall = std::function<void(
    const PurgeLibraryBatch& batch, std::vector<std::int32_t>& results, std::int32_t& seconds)>;
void SetPurgeLibraryBatchForTesting(PurgeLibraryBatchCall call);
