#include "torvix/purge_engine.h"

#include "torvix/hide_and_delete.h"
#include "torvix/overwrite.h"
#include "torvix/pass_patterns.h"
#include "torvix/purge_codes.h"

namespace torvix {
namespace {

struct SplitPath {
    std::string folder;
    std::string name;
};

SplitPath Split(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Closes the handles it holds whichever way the purge ends.
class Handles {
  public:
    explicit Handles(FileLayer& layer) : layer_(layer) {}
    ~Handles() {
        if (file >= 0) layer_.Close(file);
        if (folder >= 0) layer_.Close(folder);
    }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;

    int folder = -1;
    int file = -1;

  private:
    FileLayer& layer_;
};

// Opens the regular file `name` for writing. A name that is not a regular
// file is not even opened, so devices and FIFOs see no open at all, and the
// opened file must be the one looked at.
int32_t OpenRegularFile(FileLayer& layer, const SplitPath& where, Handles& handles,
                        FileFacts* facts) {
    if (where.name.empty() || where.name == "." || where.name == "..") return kPurgeCannotOpen;
    if (layer.OpenFolder(where.folder, &handles.folder) != 0) return kPurgeCannotOpen;
    FileFacts looked;
    if (layer.StatAt(handles.folder, where.name, &looked) != 0 || looked.kind != FileKind::kRegular)
        return kPurgeCannotOpen;
    if (layer.OpenForOverwrite(handles.folder, where.name, &handles.file) != 0)
        return kPurgeCannotOpen;
    if (layer.Stat(handles.file, facts) != 0 || facts->kind != FileKind::kRegular ||
        !facts->SameFileAs(looked))
        return kPurgeCannotOpen;
    return kPurgeDone;
}

uint64_t EndOfLastCluster(uint64_t length, int32_t clusterSize) {
    uint64_t cluster = static_cast<uint64_t>(clusterSize);
    return (length + cluster - 1) / cluster * cluster;
}

}  // namespace

bool IsValidClusterSize(int32_t clusterSize) {
    return clusterSize >= kMinClusterSize && clusterSize <= kMaxClusterSize &&
           clusterSize % kMinClusterSize == 0;
}

int32_t PurgeOneFile(const PurgeRequest& request, FileLayer& layer, RandomSource& random) {
    std::span<const OverwriteStep> steps = PassSteps(request.purgeType);
    if (steps.empty()) return kPurgeBadType;
    if (request.purgeSlack && !IsValidClusterSize(request.clusterSize)) return kPurgeBadClusterSize;
    if (request.passes < 1) return kPurgeOtherFailure;

    SplitPath where = Split(request.path);
    Handles handles(layer);
    FileFacts facts;
    int32_t result = OpenRegularFile(layer, where, handles, &facts);
    if (result != kPurgeDone) return result;

    WriteBuffer buffer;
    if (!buffer.ok()) return kPurgeOtherFailure;

    uint64_t length = facts.size;
    uint64_t end = request.purgeSlack ? EndOfLastCluster(length, request.clusterSize) : length;
    for (int32_t pass = 0; pass < request.passes && result == kPurgeDone; ++pass)
        result = OverwritePass(layer, handles.file, steps, end, buffer, random);

    // Slack was written past the end of the data: give the file back its
    // length, whether or not the pass went through.
    if (end > length) {
        bool restored =
            layer.Truncate(handles.file, length) == 0 && layer.SyncData(handles.file) == 0;
        if (!restored && result == kPurgeDone) result = kPurgeWriteFailed;
    }
    if (result != kPurgeDone || !request.deleteWhenDone) return result;

    return HideNameAndDelete(layer, handles.folder, where.name, handles.file, facts, random);
}

}  // namespace torvix
