#include "purge/FileProc.h"

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

}  // namespace

void SetPurgeLibraryForTesting(PurgeLibraryCall call) { LibraryOverride() = std::move(call); }

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
        clusterSize = lngClusterSize;
        if (clusterSize < 512) {
            clusterSize = EstimateClusterSize(strPath.substr(0, 3));
            if (!UsableClusterSize(clusterSize)) {
                intResultCode = kPurgeNoClusterSize;
                return false;
            }
        }
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
