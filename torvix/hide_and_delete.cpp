#include "torvix/hide_and_delete.h"

#include <cerrno>
#include <string_view>

#include "torvix/purge_codes.h"

namespace torvix {
namespace {

constexpr std::string_view kNameLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 16;

// A name of `length` letters and digits; empty if the generator failed.
std::string RandomName(RandomSource& random, std::size_t length) {
    std::string name;
    unsigned char bytes[64];
    if (!random.BeginStream()) return name;
    while (name.size() < length) {
        if (!random.Fill(bytes, sizeof bytes)) return {};
        for (unsigned char byte : bytes) {
            // Only bytes below the largest multiple of the alphabet keep the letters even.
            if (byte >= 256 / kNameLetters.size() * kNameLetters.size()) continue;
            if (name.size() < length) name += kNameLetters[byte % kNameLetters.size()];
        }
    }
    return name;
}

bool StillThisFile(FileLayer& layer, Handle folder, const std::string& name,
                   const FileFacts& identity) {
    FileFacts facts;
    return layer.StatAt(folder, name, &facts) == 0 && facts.kind == FileKind::kRegular &&
           facts.SameFileAs(identity);
}

// Renames *current to a fresh random name of `length`; 0 or an errno value.
int RenameToRandom(FileLayer& layer, Handle folder, std::string* current, std::size_t length,
                   RandomSource& random) {
    int error = EEXIST;
    for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        std::string next = RandomName(random, length);
        if (next.empty()) return EIO;
        if (next == *current) continue;
        error = layer.RenameAt(folder, *current, next);
        if (error == 0) *current = next;
    }
    return error;
}

}  // namespace

int32_t EmptyFile(FileLayer& layer, Handle file) {
    if (layer.Truncate(file, 0) != 0) return kPurgeTruncateFailed;
    return kPurgeDone;
}

int32_t HideName(FileLayer& layer, Handle folder, const std::string& name,
                 const FileFacts& identity, RandomSource& random, std::string* current) {
    *current = name;
    if (!StillThisFile(layer, folder, *current, identity)) return kPurgeRenameFailed;
    int error = RenameToRandom(layer, folder, current, name.size(), random);
    // A name of the same length in ASCII may be too long where the old one
    // was counted in wider characters; the fixed-length rename still follows.
    if (error != 0 && error != ENAMETOOLONG) return kPurgeRenameFailed;

    std::size_t hiddenLength =
        name.size() == kHiddenNameLength ? kHiddenNameLength + 1 : kHiddenNameLength;
    if (!StillThisFile(layer, folder, *current, identity)) return kPurgeRenameFailed;
    if (RenameToRandom(layer, folder, current, hiddenLength, random) != 0)
        return kPurgeRenameFailed;
    return kPurgeDone;
}

int32_t RemoveHiddenName(FileLayer& layer, Handle folder, const std::string& current,
                         const FileFacts& identity) {
    if (!StillThisFile(layer, folder, current, identity)) return kPurgeRemoveFailed;
    if (layer.UnlinkAt(folder, current) != 0) return kPurgeRemoveFailed;
    return kPurgeDone;
}

int32_t HideNameAndDelete(FileLayer& layer, Handle folder, const std::string& name, Handle file,
                          const FileFacts& identity, RandomSource& random) {
    if (int32_t result = EmptyFile(layer, file)) return result;
    std::string current;
    if (int32_t result = HideName(layer, folder, name, identity, random, &current)) return result;
    if (layer.SyncFolder(folder) != 0) return kPurgeRenameFailed;
    if (int32_t result = RemoveHiddenName(layer, folder, current, identity)) return result;
    if (layer.SyncFolder(folder) != 0) return kPurgeRemoveFailed;
    return kPurgeDone;
}

}  // namespace torvix
