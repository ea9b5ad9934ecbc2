// The file procedures: PurgeFile, the program's one road to the purge
// library's kz_purge_file. It applies the program's own rules for read-only
// files and for the cluster size of slack purging, calls the library for
// one pass, and hands back the library's code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Codes PurgeFile produces itself; every other code is the library's (see
// torvix/torvix.h): 0 done, -2 cannot open, -3 write error, -4 to -6
// overwritten but not deleted, -7 flush error, -8 bad type, -9 bad cluster.
constexpr std::int16_t kPurgeReadOnlyRefused = -53;  // read-only and not allowed
constexpr std::int16_t kPurgeNoClusterSize = -9;     // no usable cluster size for slack

// Purges the file at the drive-letter path strPath for one call of the
// library (intPasses passes of intPurgeType; callers pass 1).
//  1. A read-only file: with blnReadOnlyOK false the result is -53 and the
//     library is not called; otherwise its read-only attribute is cleared
//     (other attributes kept) and is not set again, whatever the outcome.
//  2. With blnPurgeSlack, a lngClusterSize below 512 is replaced by
//     EstimateClusterSize of the path's drive ("C:\"); an estimate that is
//     not a multiple of 512 from 512 to 65536 gives -9 without calling the
//     library. 512 or more is passed on unchanged. Without slack the library
//     always receives -1.
//  3. The library is called; intResultCode receives the low 16 bits of its
//     result and *lngSeconds (when not null) the seconds it reports.
// Also -2 when the path names no mapped drive (the library is not called),
// and -1 when the library cannot be loaded.
// Returns true when the library's result is 0 or more.
bool PurgeFile(const std::string& strPath, std::int16_t intPurgeType, std::int16_t intPasses,
               bool blnDelete, bool blnRunFlag, bool blnReadOnlyOK, bool blnPurgeSlack,
               std::int32_t lngClusterSize, std::int16_t& intResultCode, std::int32_t* lngSeconds);

// The library call that PurgeFile makes, with kz_purge_file's arguments (the
// path native). Tests install one to see what the library would receive;
// an empty function restores the real library.
using PurgeLibraryCall = std::function<std::int32_t(
    const std::string& nativePath, std::int32_t purgeType, std::int32_t passes,
    std::int32_t deleteWhenDone, std::int32_t runFlag, std::int32_t purgeSlack,
    std::int32_t clusterSize, std::int32_t& seconds)>;
void SetPurgeLibraryForTesting(PurgeLibraryCall call);
