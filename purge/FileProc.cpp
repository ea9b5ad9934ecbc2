#include "purge/FileProc.h"

#include "disk/DiskProc.h"
#include "platform/DrivePaths.h"
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

bool PurgeFile(const std::string& strPath, std::int16_t intPurgeType, std::int16_t intPasses,
               bool blnDelete, bool blnRunFlag, bool blnReadOnlyOK, bool blnPurgeSlack,
               std::int32_t lngClusterSize, std::int16_t& intResultCode, std::int32_t* lngSeconds) {
    platform::FileSystem& files = platform::Files();
    if (auto attributes = files.Attributes(strPath); attributes && attributes->readOnly) {
        if (!blnReadOnlyOK) {
            intResultCode = kPurgeReadOnlyRefused;
            return false;
        }
        files.SetReadOnly(strPath, false);
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

    std::optional<std::string> nativePath = platform::ToNativePath(strPath);
    if (!nativePath) {
        intResultCode = -2;  // no such drive: the file cannot be opened
        return false;
    }

    std::int32_t seconds = 0;
    std::int32_t result;
    try {
        const PurgeLibraryCall& call = LibraryOverride();
        result = call ? call(*nativePath, intPurgeType, intPasses, blnDelete ? 1 : 0,
                             blnRunFlag ? 1 : 0, blnPurgeSlack ? 1 : 0, clusterSize, seconds)
                      : torvix_binding::kz_purge_file(*nativePath, intPurgeType, intPasses,
                                                      blnDelete ? 1 : 0, blnRunFlag ? 1 : 0,
                                                      blnPurgeSlack ? 1 : 0, clusterSize, seconds);
    } catch (const torvix_binding::LibraryUnavailable&) {
        result = -1;
    }
    if (lngSeconds != nullptr) *lngSeconds = seconds;
    intResultCode = Low16Bits(result);
    return result >= 0;
}
