// The program's folder and the swap files in use, as Windows shows them:
// the swap files are pagefile.sys and swapfile.sys at the root of a fixed
// drive, seen through the root's listing because the system holds them
// open without sharing.
#include "platform/ProgramFolder.h"
#include "platform/ProtectedFiles.h"
#include "platform/win32/Win32Entries.h"
#include "platform/win32/Win32FolderHandle.h"

namespace platform {
namespace {

bool IsSwapFileName(std::string name) {
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return name == "pagefile.sys" || name == "swapfile.sys";
}

}  // namespace

std::optional<FileIdentity> ProgramFolderIdentity() {
    OwnedHandle folder;
    if (OpenFolderByPath(ProgramFolderNative(), false, folder) != 0) return std::nullopt;
    auto entry = EntryOfHandle(folder.Get(), "");
    if (!entry) return std::nullopt;
    return entry->identity;
}

std::vector<FileIdentity> SwapFileIdentities() {
    std::vector<FileIdentity> identities;
    const DWORD mask = ::GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(mask & (DWORD{1} << (letter - 'A')))) continue;
        const std::string root = std::string(1, letter) + ":\\";
        if (::GetDriveTypeW(Widened(root).c_str()) != DRIVE_FIXED) continue;
        OwnedHandle handle;
        if (OpenFolderByPath(root, false, handle) != 0) continue;
        auto folder = Win32FolderHandle::Adopt(std::move(handle), nullptr);
        auto entries = folder ? folder->Read(nullptr) : std::nullopt;
        if (!entries) continue;
        for (const auto& entry : *entries) {
            if (entry.kind == EntryKind::File && IsSwapFileName(entry.name)) {
                identities.push_back(entry.identity);
            }
        }
    }
    return identities;
}

}  // namespace platform
