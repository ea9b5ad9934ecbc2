#include "torvix/win32_folder_path.h"

#include <winternl.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "torvix/win32_nt_open.h"
#include "torvix/win32_wide.h"

namespace torvix {
namespace {

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;

// Splits a path into the root to open by name and the components below it.
// False for paths whose meaning depends on a drive's current folder.
bool SplitRoot(std::wstring path, std::wstring* root, std::wstring* rest) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        path = L"\\\\" + path.substr(8);
    } else if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) {
        path = path.substr(4);
    }
    if (path.size() >= 2 && path[1] == L':') {
        if (path.size() == 2 || path[2] != L'\\') return false;  // "C:" or "C:a"
        *root = path.substr(0, 3);
        *rest = path.substr(3);
    } else if (path.rfind(L"\\\\", 0) == 0) {
        // \\server\share\ is the root; below it the components.
        std::size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos) return false;
        std::size_t share = path.find(L'\\', server + 1);
        *root = share == std::wstring::npos ? path + L"\\" : path.substr(0, share + 1);
        *rest = share == std::wstring::npos ? L"" : path.substr(share + 1);
    } else if (!path.empty() && path[0] == L'\\') {
        *root = L"\\";
        *rest = path.substr(1);
    } else {
        *root = L".";
        *rest = path;
    }
    return true;
}

// 0 if the handle is a folder (and, below the root, no reparse point);
// else closes it. The root is where the user's path starts, not a turn it
// takes: a drive letter may well be a volume mounted in a folder (Wine
// shows its drives so).
int KeepIfPlainFolder(HANDLE handle, bool isRoot) {
    DWORD attributes = 0;
    int error = 0;
    if (!AttributesOf(handle, &attributes))
        error = ErrnoFromWin32Error(GetLastError());
    else if (!isRoot && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        error = ELOOP;
    else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        error = ENOTDIR;
    if (error != 0) CloseHandle(handle);
    return error;
}

}  // namespace

int OpenFolderWithoutReparsePoints(const std::string& path, HANDLE* folder) {
    std::wstring wide, root, rest;
    if (path.empty()) return ENOENT;
    if (!Utf8ToWide(path, &wide)) return EINVAL;
    if (!SplitRoot(wide, &root, &rest)) return EINVAL;

    HANDLE current = CreateFileW(root.c_str(), kFolderAccess,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (current == INVALID_HANDLE_VALUE) return ErrnoFromWin32Error(GetLastError());
    if (int error = KeepIfPlainFolder(current, true)) return error;

    // ".." is taken away with the component before it, as Windows itself
    // reads a path, before anything below the root is opened.
    std::vector<std::wstring> components;
    for (std::size_t start = 0; start < rest.size();) {
        std::size_t slash = std::min(rest.find(L'\\', start), rest.size());
        std::wstring component = rest.substr(start, slash - start);
        start = slash + 1;
        if (component.empty() || component == L".") continue;
        if (component != L"..")
            components.push_back(component);
        else if (!components.empty())
            components.pop_back();
    }
    for (const std::wstring& component : components) {
        HANDLE next = nullptr;
        int error = OpenRelative(current, component, kFolderAccess, FILE_DIRECTORY_FILE, &next);
        CloseHandle(current);
        if (error == 0) error = KeepIfPlainFolder(next, false);
        if (error != 0) return error;
        current = next;
    }
    *folder = current;
    return 0;
}

}  // namespace torvix
