// The binding to the purge library torvix.
//
// purge never links against the library: it loads it (libtorvix.so,
// torvix.dll) from its own folder by file name when a function is first
// needed, and binds each function by name at its first call. A library or function that cannot be
// found is a LibraryUnavailable error carrying the loader's description.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace torvix_binding {

struct LibraryUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// File name of the library in the program's folder.
extern const char* const kLibraryFileName;

// The exports, with the library's own signatures; see torvix/torvix.h.
std::int32_t kz_purge_file_at(std::intptr_t folder, const std::string& name, std::uint64_t device,
                              std::uint64_t inode, std::int32_t purgeType, std::int32_t passes,
                              std::int32_t deleteWhenDone, std::int32_t runFlag,
                              std::int32_t purgeSlack, std::int32_t clusterSize,
                              std::int32_t& seconds);
// One file of kz_purge_files_at, laid out as the library's kz_file_entry.
struct FileEntry {
    const char* name;
    std::uint64_t device;
    std::uint64_t inode;
    std::int32_t result;
};
// Returns 0 when each entry has its result; -1 for a list it refused.
std::int32_t kz_purge_files_at(std::intptr_t folder, std::vector<FileEntry>& files,
                               std::int32_t purgeType, std::int32_t passes,
                               std::int32_t deleteWhenDone, std::int32_t runFlag,
                               std::int32_t purgeSlack, std::int32_t clusterSize,
                               std::int32_t& seconds);
std::int32_t lt(const std::string& nativePath, std::int32_t reserved);
std::int32_t gt(std::int32_t number, std::int32_t language, char* buffer,
                std::int32_t bufferSize, std::int32_t startupCompleted);

// Native path of the library that is (or would be) loaded.
std::string LibraryPath();

}  // namespace torvix_binding
