#include "torvix/purge_engine.h"

#include <algorithm>

#include "torvix/hide_and_delete.h"
#include "torvix/overwrite.h"
#include "torvix/pass_patterns.h"
#include "torvix/purge_codes.h"

namespace torvix {
namespace {

// Closes a handle whichever way the purge ends.
class OwnedHandle {
  public:
    explicit OwnedHandle(FileLayer& layer) : layer_(layer) {}
    ~OwnedHandle() {
        if (handle != kNoHandle) layer_.Close(handle);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle handle = kNoHandle;

  private:
    FileLayer& layer_;
};

// Everything after the checks: the passes, the length restored, the delete.
int32_t PurgeOpenFile(Handle folder, const std::string& name, Handle file, const FileFacts& facts,
                      const PurgeRequest& request, FileLayer& layer, RandomSource& random) {
    int32_t result = OverwriteOpenFile(file, facts, request, layer, random);
    if (result < kPurgeDone || !request.deleteWhenDone) return result;
    if (int32_t deleted = HideNameAndDelete(layer, folder, name, file, facts, random))
        return deleted;
    return result;
}

int32_t PurgeInFolder(Handle folder, const std::string& name, const FileIdentity* seen,
                      const TargetCodes& codes, const PurgeRequest& request, FileLayer& layer,
                      RandomSource& random) {
    OwnedHandle file(layer);
    FileFacts facts;
    int32_t result = OpenPurgeTarget(layer, folder, name, seen, codes, &file.handle, &facts);
    if (result != kPurgeDone) return result;
    return PurgeOpenFile(folder, name, file.handle, facts, request, layer, random);
}

}  // namespace

int32_t CheckArguments(const PurgeRequest& request) {
    if (PassSteps(request.purgeType).empty()) return kPurgeBadType;
    if (request.purgeSlack && !IsValidClusterSize(request.clusterSize)) return kPurgeBadClusterSize;
    if (request.passes < 1) return kPurgeOtherFailure;
    return kPurgeDone;
}

int32_t OverwriteOpenFile(Handle file, const FileFacts& facts, const PurgeRequest& request,
                          FileLayer& layer, RandomSource& random) {
    Extent extent(facts.size, request.purgeSlack ? static_cast<uint64_t>(request.clusterSize) : 0);
    // A small file needs no more buffer than its own bytes: a pattern is laid
    // over the whole buffer, which would cost more than the file's write.
    constexpr uint64_t kPage = 4096;
    const uint64_t fileBuffer = (std::max<uint64_t>(extent.end(), 1) + kPage - 1) / kPage * kPage;
    WriteBuffer buffer(static_cast<std::size_t>(
        std::min<uint64_t>(fileBuffer, WriteBuffer::kDefaultSize)));
    if (!buffer.ok()) return kPurgeOtherFailure;

    std::span<const OverwriteStep> steps = PassSteps(request.purgeType);
    int32_t result = kPurgeDone;
    for (int32_t pass = 0; pass < request.passes && result == kPurgeDone; ++pass)
        result = OverwritePass(layer, file, steps, extent, buffer, random);

    // Slack was written past the end of the data: give the file back its
    // length (grown, if it grew), whether or not the pass went through.
    if (extent.end() > extent.length()) {
        bool restored = layer.Truncate(file, extent.length()) == 0 && layer.SyncData(file) == 0;
        if (!restored && result == kPurgeDone) result = kPurgeWriteFailed;
    }
    if (result == kPurgeDone && !extent.slackReached()) result = kPurgeSlackNotReached;
    return result;
}

bool IsValidClusterSize(int32_t clusterSize) {
    return clusterSize >= kMinClusterSize && clusterSize <= kMaxClusterSize &&
           clusterSize % kMinClusterSize == 0;
}

int32_t PurgeOneFile(const std::string& path, const PurgeRequest& request, FileLayer& layer,
                     RandomSource& random) {
    if (int32_t result = CheckArguments(request)) return result;
    OwnedHandle folder(layer);
    std::string name;
    if (layer.OpenParentFolder(path, &folder.handle, &name) != 0) return kPurgeCannotOpen;
    return PurgeInFolder(folder.handle, name, nullptr, {.notTheFileSeen = kPurgeCannotOpen},
                         request, layer, random);
}

int32_t PurgeOneFileAt(Handle folder, const std::string& name, const FileIdentity& seen,
                       const PurgeRequest& request, FileLayer& layer, RandomSource& random) {
    if (int32_t result = CheckArguments(request)) return result;
    return PurgeInFolder(folder, name, &seen, {.notTheFileSeen = kPurgeNotTheFileSeen}, request,
                         layer, random);
}

}  // namespace torvix
