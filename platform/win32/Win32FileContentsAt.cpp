#include "platform/win32/Win32FileContentsAt.h"

#include <random>
#include <vector>

#include "platform/win32/NtOpenOptions.h"
#include "platform/win32/Win32Entries.h"

namespace platform {
namespace {

bool WriteAll(HANDLE file, const std::string& contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const std::size_t left = contents.size() - done;
        DWORD piece = left > (DWORD{1} << 30) ? DWORD{1} << 30 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(file, contents.data() + done, piece, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

std::string TemporaryNameFor(const std::string& name) {
    static std::mt19937_64 numbers{std::random_device{}()};
    return name + ".new-" + std::to_string(numbers() % 1000000000);
}

// The native form of a rename: a name relative to a folder handle.
struct RenameInformation {
    BOOLEAN ReplaceIfExists;
    HANDLE RootDirectory;
    ULONG FileNameLength;
    WCHAR FileName[1];
};

// Renames the open file to `name` in `folder`, replacing what is there.
// The native call, since the Win32 one does not take a folder handle on
// every system.
bool RenameOver(HANDLE file, HANDLE folder, const std::string& name) {
    const std::wstring wide = Widened(name);
    std::vector<char> buffer(sizeof(RenameInformation) + (wide.size() + 1) * sizeof(wchar_t));
    auto* info = reinterpret_cast<RenameInformation*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = folder;
    info->FileNameLength = static_cast<ULONG>(wide.size() * sizeof(wchar_t));
    wide.copy(info->FileName, wide.size());
    IO_STATUS_BLOCK io{};
    return ::NtSetInformationFile(file, &io, info, static_cast<ULONG>(buffer.size()),
                                  FileRenameInformation) >= 0;
}

}  // namespace

std::optional<std::string> ReadWholeFileAt(HANDLE folder, const std::string& name,
                                           std::size_t maxBytes) {
    OwnedHandle file;
    if (OpenRelative(folder, name, GENERIC_READ, FILE_OPEN, FILE_NON_DIRECTORY_FILE, file) != 0) {
        return std::nullopt;
    }
    auto facts = EntryOfHandle(file.Get(), name);
    if (!facts || facts->kind != EntryKind::File) return std::nullopt;
    std::string contents;
    char chunk[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.Get(), chunk, sizeof chunk, &n, nullptr)) return std::nullopt;
        if (n == 0) break;
        if (contents.size() + n > maxBytes) return std::nullopt;
        contents.append(chunk, n);
    }
    return contents;
}

bool ReplaceFileAt(HANDLE folder, const std::string& name, const std::string& contents) {
    {
        OwnedHandle old;
        const DWORD error = OpenRelative(folder, name, FILE_READ_ATTRIBUTES, FILE_OPEN, 0, old);
        if (error == 0) {
            // A read-only file is the user's way of keeping it as it is.
            auto facts = EntryOfHandle(old.Get(), name);
            if (!facts || facts->kind != EntryKind::File || facts->readOnly) return false;
        } else if (error != ERROR_FILE_NOT_FOUND) {
            return false;
        }
    }
    std::string temporary;
    OwnedHandle file;
    for (int attempt = 0; attempt < 16 && !file.Valid(); ++attempt) {
        temporary = TemporaryNameFor(name);
        const DWORD error = OpenRelative(folder, temporary, GENERIC_WRITE | DELETE, FILE_CREATE,
                                         FILE_NON_DIRECTORY_FILE, file);
        if (error != 0 && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    if (!file.Valid()) return false;
    if (!WriteAll(file.Get(), contents) || !::FlushFileBuffers(file.Get()) ||
        !RenameOver(file.Get(), folder, name)) {
        DeleteByHandle(file.Get());
        return false;
    }
    return true;
}

}  // namespace platform
