// Awkward entries and process settings that tests make at run time, where
// this system has them: symbolic links, FIFOs, hard links, environment
// variables, and whether the test runs as the administrator. On Windows a
// FIFO cannot live in a folder, and a symbolic link needs a privilege
// that a test cannot count on, so the tests that need them skip there.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include "platform/win32/WideText.h"
// After <windows.h>, which it needs.
#include <winioctl.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace testing_support {

#ifdef _WIN32
constexpr bool kHasFifosAndLinks = false;
#else
constexpr bool kHasFifosAndLinks = true;
#endif
#ifdef _WIN32
constexpr bool kCaseSensitiveNames = false;
constexpr char kNativeSeparator = '\\';
// A file system that writes changed data to new clusters.
constexpr const char* kCopyOnWriteFileSystem = "ReFS";
#else
constexpr bool kCaseSensitiveNames = true;
constexpr char kNativeSeparator = '/';
constexpr const char* kCopyOnWriteFileSystem = "btrfs";
#endif
constexpr const char* kNamesIgnoreCase = "this system's names ignore case";

// A name (or path) of the tests' drives as the program shows it: as spelt
// where names differ by case, else in lower case (ASCII names only).
inline std::string AsShown(std::string name) {
    if (kCaseSensitiveNames) return name;
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}
constexpr const char* kNoFifosAndLinks = "this system has no FIFOs in folders and no free links";

// The system's own words for a name that is not there.
inline std::string MissingFileText() {
#ifdef _WIN32
    return platform::Win32ErrorText(ERROR_FILE_NOT_FOUND);
#else
    return std::strerror(ENOENT);
#endif
}

// Makes the existing file `path` `bytes` long without taking room on the
// disk for it (marked sparse first on Windows).
inline bool MakeSparse(const std::string& path, std::uint64_t bytes) {
#ifdef _WIN32
    platform::OwnedHandle file(::CreateFileW(platform::Widened(path).c_str(),
                                             GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(bytes);
    return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
#else
    std::error_code ec;
    std::filesystem::resize_file(path, bytes, ec);
    return !ec;
#endif
}

// Symbolic link `link` (native path) to `target`; true when made.
inline bool MakeSymbolicLink(const std::string& target, const std::string& link) {
    std::error_code ec;
    std::filesystem::create_symlink(target, link, ec);
    return !ec;
}

inline bool MakeFifo([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
    return false;
#else
    return ::mkfifo(path.c_str(), 0600) == 0;
#endif
}

inline bool MakeHardLink(const std::string& existing, const std::string& link) {
    std::error_code ec;
    std::filesystem::create_hard_link(existing, link, ec);
    return !ec;
}

inline bool RunsAsAdministrator() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

// Sets (or, with a null value, removes) an environment variable.
inline void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value ? value : "");
#else
    if (value) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

}  // namespace testing_support
