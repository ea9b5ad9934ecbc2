#include "app/SetupFileOnDisk.h"

#include "platform/FileSystem.h"
#include "support/NativeFiles.h"

SetupRead ReadSetupFile(const std::string& path) {
    auto contents = native_files::IsNativePath(path)
                        ? native_files::ReadWholeFile(path, kMaxSetupFileBytes)
                        : platform::Files().ReadWholeFile(path, kMaxSetupFileBytes);
    return contents ? ReadSetup(*contents) : SetupRead{};
}

bool WriteSetupFile(const std::string& path, const SetupRecord& record) {
    return native_files::IsNativePath(path)
               ? native_files::ReplaceFile(path, WriteSetup(record))
               : platform::Files().ReplaceFile(path, WriteSetup(record));
}
