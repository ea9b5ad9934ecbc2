#include "purge/FileProc.h"

#include <optional>

#include "disk/DiskProc.h"
#include "platform/FileSystem.h"
#include "purge/TorvixLibrary.h"

namespace {

PurgeLibraryCall& LibraryOverride() {
    static PurgeLibraryCall call;
    return call;
}

bool UsableClusterSize(std::int32_t size) {
    return size >= 512 && size <= 65536 && size % 512 == 0;
}

std::int16_t Low16Bits(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

PurgeLibraryBatchCall& LibraryBatchOverride() {
    static PurgeLibraryBatchCall call;
    return call;
}

// The cluster size the library is given for a slack purge; nullopt when
// none usable can be had.
std::optional<std::int32_t> SlackClusterSize(const std::string& strPath,
                                             std::int32_t lngClusterSize) {
    if (lngClusterSize >= 512) return lngClusterSize;
    std::int32_t estimate = EstimateClusterSize(strPath.substr(0, 3));
    if (!UsableClusterSize(estimate)) return std::nullopt;
    return estimate;
}

}  // namespace

void SetPurgeLibraryForTesting(PurgeLibraryCall call) { LibraryOverride() = std::move(call); }
void SetPurgeLibraryBatchForTesting(PurgeLibraryBatchCall call) {
    LibraryBatchOverride() = std::move(call);
}
bool CanPurgeFilesTogether() { return LibraryBatchOverride() || !LibraryOverride(); }

std::int32_t CallPurgeLibrary(const PurgeLibraryRequest& r, std::int32_t& seconds) {
    return torvix_binding::kz_purge_file_at(r.folder, r.name, r.device, r.inode, r.purgeType,
                                            r.passes, r.deleteWhenDone, r.runFlag, r.purgeSlack,
                                            r.clusterSize, seconds);
}

bool PurgeFile(platform::FolderHandle& folder, const platform::FolderEntry& file,
               const std::string& strPath, std::int16_t intPurgeType, std::int16_t intPasses,
               bool blnDelete, bool blnRunFlag, bool blnReadOnlyOK, bool blnPurgeSlack,
               std::int32_t lngClusterSize, std::int16_t& intResultCode, std::int32_t* lngSeconds) {
    auto now = folder.Look(file.name);
    if (!now || now->kind != platform::EntryKind::File || !(now->identity == file.identity)) {
        intResultCode = kPurgeFileReplaced;
        return false;
    }
    if (now->readOnly) {
        if (!blnReadOnlyOK) {
            intResultCode = kPurgeReadOnlyRefused;
            return false;
        }
        folder.SetReadOnly(file.name, file.identity, false);
    }

    std::int32_t clusterSize = -1;
    if (blnPurgeSlack) {
        auto usable = SlackClusterSize(strPath, lngClusterSize);
        if (!usable) {
            intResultCode = kPurgeNoClusterSize;
            return false;
        }
        clusterSize = *usable;
    }

    PurgeLibraryRequest request;
    request.folder = folder.NativeHandle();
    request.name = file.name;
    request.device = file.identity.device;
    request.inode = file.identity.inode;
    request.purgeType = intPurgeType;
    request.passes = intPasses;
    request.deleteWhenDone = blnDelete ? 1 : 0;
    request.runFlag = blnRunFlag ? 1 : 0;
    request.purgeSlack = blnPurgeSlack ? 1 : 0;
    request.clusterSize = clusterSize;

    std::int32_t seconds = 0;
    std::int32_t result;
    try {
        const PurgeLibraryCall& call = LibraryOverride();
        result = call ? call(request, seconds) : CallPurgeLibrary(request, seconds);
    } catch (const torvix_binding::LibraryUnavailable&) {
        result = -1;
    }
    if (lngSeconds != nullptr) *lngSeconds = seconds;
    intResultCode = Low16Bits(result);
    return result >= 0;
}

void CallPurgeLibrary(const PurgeLibraryBatch& batch, std::vector<std::int32_t>& results,
                      std::int32_t& seconds) {
    std::vector<torvix_binding::FileEntry> entries;
    for (const PurgeLibraryRequest& file : batch.files)
        entries.push_back({file.name.c_str(), file.device, file.inode, -1});
    const PurgeLibraryRequest& c = batch.common;
    std::int32_t called =
        torvix_binding::kz_purge_files_at(c.folder, entries, c.purgeType, c.passes,
                                          c.deleteWhenDone, c.runFlag, c.purgeSlack,
                                          c.clusterSize, seconds);
    results.clear();
    for (const auto& entry : entries) results.push_back(called == 0 ? entry.result : -1);
}

void PurgeFiles(platform::FolderHandle& folder, const std::vector<platform::FolderEntry>& files,
                const std::string& strFolderPath, std::int16_t intPurgeType,
                std::int16_t intPasses, bool blnDelete, bool blnRunFlag, bool blnPurgeSlack,
                std::int32_t lngClusterSize, std::vector<std::int16_t>& codes,
                std::int32_t* lngSeconds) {
    if (lngSeconds != nullptr) *lngSeconds = 0;
    PurgeLibraryBatch batch;
    PurgeLibraryRequest& common = batch.common;
    common.folder = folder.NativeHandle();
    common.purgeType = intPurgeType;
    common.passes = intPasses;
    common.deleteWhenDone = blnDelete ? 1 : 0;
    common.runFlag = blnRunFlag ? 1 : 0;
    common.purgeSlack = blnPurgeSlack ? 1 : 0;
    if (blnPurgeSlack) {
        auto usable = SlackClusterSize(strFolderPath, lngClusterSize);
        if (!usable) {
            codes.assign(files.size(), kPurgeNoClusterSize);
            return;
        }
        common.clusterSize = *usable;
    }
    for (const platform::FolderEntry& file : files) {
        PurgeLibraryRequest one;
        one.name = file.name;
        one.device = file.identity.device;
        one.inode = file.identity.inode;
        batch.files.push_back(std::move(one));
    }

    std::int32_t seconds = 0;
    std::vector<std::int32_t> results;
    try {
        const PurgeLibraryBatchCall& call = LibraryBatchOverride();
        if (call) {
            call(batch, results, seconds);
        } else {
            CallPurgeLibrary(batch, results, seconds);
        }
    } catch (const torvix_binding::LibraryUnavailable&) {
        results.clear();
    }
    results.resize(files.size(), -1);
    if (lngSeconds != nullptr) *lngSeconds = seconds;
    codes.clear();
    for (std::int32_t result : results) codes.push_back(Low16Bits(result));
}

bool PurgeFile(const std::string& strPath, std::int16_t intPurgeType, std::int16_t intPasses,
               bool blnDelete, bool blnRunFlag, bool blnReadOnlyOK, bool blnPurgeSlack,
               std::int32_t lngClusterSize, std::int16_t& intResultCode, std::int32_t* lngSeconds) {
    auto parent = platform::Files().OpenParent(strPath);
    auto file = parent ? parent->folder->Look(parent->name) : std::nullopt;
    if (!file || file->kind != platform::EntryKind::File) {
        intResultCode = -2;  // no such regular file: it cannot be opened
        return false;
    }
    return PurgeFile(*parent->folder, *file, strPath, intPurgeType, intPasses, blnDelete,
                     blnRunFlag, blnReadOnlyOK, blnPurgeSlack, lngClusterSize, intResultCode,
                     lngSeconds);
}
