#include "purge/TorvixLibrary.h"

#include "platform/NativePaths.h"
#include "platform/ProgramFolder.h"
#include "purge/SharedLibrary.h"

namespace torvix_binding {

namespace {

void* Handle() {
    static void* handle = nullptr;
    if (handle == nullptr) {
        std::string why;
        handle = LoadSharedLibrary(LibraryPath(), why);
        if (handle == nullptr) throw LibraryUnavailable(why);
    }
    return handle;
}

// Binds the named export on its first call and keeps it.
template <typename Function>
Function Bind(Function& slot, const char* name) {
    if (slot == nullptr) {
        void* symbol = FindExport(Handle(), name);
        if (symbol == nullptr) {
            throw LibraryUnavailable(std::string("the purge library has no function ") + name);
        }
        slot = reinterpret_cast<Function>(symbol);
    }
    return slot;
}

using PurgeFileAtFunction = std::int32_t (*)(std::intptr_t, const char*, std::uint64_t,
                                             std::uint64_t, std::int32_t, std::int32_t,
                                             std::int32_t, std::int32_t, std::int32_t,
                                             std::int32_t, std::int32_t*);
using PurgeFilesAtFunction = std::int32_t (*)(std::intptr_t, FileEntry*, std::int32_t,
                                              std::int32_t, std::int32_t, std::int32_t,
                                              std::int32_t, std::int32_t, std::int32_t,
                                              std::int32_t*);
using LoadTextFunction = std::int32_t (*)(const char*, std::int32_t);
using GetTextFunction = std::int32_t (*)(std::int32_t, std::int32_t, char*, std::int32_t,
                                         std::int32_t);

PurgeFileAtFunction purgeFileAt = nullptr;
PurgeFilesAtFunction purgeFilesAt = nullptr;
LoadTextFunction loadText = nullptr;
GetTextFunction getText = nullptr;

}  // namespace

std::string LibraryPath() {
    // The library always sits beside the real program, even where a test
    // points the program at another folder for its data files.
    return platform::JoinNative(platform::RealProgramFolderNative(), kLibraryFileName);
}

std::int32_t kz_purge_file_at(std::intptr_t folder, const std::string& name, std::uint64_t device,
                              std::uint64_t inode, std::int32_t purgeType, std::int32_t passes,
                              std::int32_t deleteWhenDone, std::int32_t runFlag,
                              std::int32_t purgeSlack, std::int32_t clusterSize,
                              std::int32_t& seconds) {
    return Bind(purgeFileAt, "kz_purge_file_at")(folder, name.c_str(), device, inode, purgeType,
                                                 passes, deleteWhenDone, runFlag, purgeSlack,
                                                 clusterSize, &seconds);
}

std::int32_t kz_purge_files_at(std::intptr_t folder, std::vector<FileEntry>& files,
                               std::int32_t purgeType, std::int32_t passes,
                               std::int32_t deleteWhenDone, std::int32_t runFlag,
                               std::int32_t purgeSlack, std::int32_t clusterSize,
                               std::int32_t& seconds) {
    return Bind(purgeFilesAt, "kz_purge_files_at")(
        folder, files.data(), static_cast<std::int32_t>(files.size()), purgeType, passes,
        deleteWhenDone, runFlag, purgeSlack, clusterSize, &seconds);
}

std::int32_t lt(const std::string& nativePath, std::int32_t reserved) {
    return Bind(loadText, "lt")(nativePath.c_str(), reserved);
}

std::int32_t gt(std::int32_t number, std::int32_t language, char* buffer,
                std::int32_t bufferSize, std::int32_t startupCompleted) {
    return Bind(getText, "gt")(number, language, buffer, bufferSize, startupCompleted);
}

}  // namespace torvix_binding
