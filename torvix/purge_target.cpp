#include "torvix/purge_target.h"

#include "torvix/purge_codes.h"

namespace torvix {
namespace {

bool Is(const FileFacts& facts, const FileIdentity& identity) {
    return facts.device == identity.device && facts.inode == identity.inode;
}

// The checks that the look and the open file must both pass.
int32_t Check(const FileFacts& facts, const FileFacts& folder, const FileIdentity& expected,
              const TargetCodes& codes) {
    if (!Is(facts, expected)) return codes.notTheFileSeen;
    if (facts.kind != FileKind::kRegular) return kPurgeCannotOpen;
    if (!facts.OnSameMountAs(folder)) return codes.notTheFileSeen;
    if (facts.links > 1) return kPurgeOtherLinks;
    return kPurgeDone;
}

}  // namespace

int32_t OpenPurgeTarget(FileLayer& layer, Handle folder, const std::string& name,
                        const FileIdentity* seen, const TargetCodes& codes, Handle* file,
                        FileFacts* facts) {
    if (!layer.IsEntryName(name)) return kPurgeCannotOpen;
    FileFacts folderFacts, looked;
    if (layer.Stat(folder, &folderFacts) != 0 || folderFacts.kind != FileKind::kFolder)
        return kPurgeCannotOpen;
    if (layer.StatAt(folder, name, &looked) != 0) return kPurgeCannotOpen;
    FileIdentity expected = seen != nullptr ? *seen : FileIdentity{looked.device, looked.inode};
    // A device or FIFO is never opened, so it sees no open at all.
    if (int32_t result = Check(looked, folderFacts, expected, codes)) return result;

    Handle opened = kNoHandle;
    if (layer.OpenForOverwrite(folder, name, &opened) != 0) return kPurgeCannotOpen;
    int32_t result = layer.Stat(opened, facts) != 0 ? kPurgeCannotOpen
                                                    : Check(*facts, folderFacts, expected, codes);
    if (result != kPurgeDone) {
        layer.Close(opened);
        return result;
    }
    *file = opened;
    return kPurgeDone;
}

}  // namespace torvix
