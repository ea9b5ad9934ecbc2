#include "purge/frmFileOps.h"

#include "platform/FileSystem.h"
#include "platform/ProtectedFiles.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "support/Folder.h"
#include "support/NativeFiles.h"
#include "support/ProgramText.h"

namespace {

const char* const kSensitiveExtensions[] = {"bat", "bin", "com", "dll", "drv", "exe",
                                            "ini", "ovl", "pif", "sys", "ocx", "kbd"};

}  // namespace

frmFileOps::frmFileOps() : Form("frmFileOps") { LearnProtectedFiles(); }

void frmFileOps::LearnProtectedFiles() {
    programFolder_ = platform::ProgramFolderIdentity();
    const std::string userFolderName = GetProgramText(310);
    userFolder_.reset();
    if (!userFolderName.empty()) {
        userFolder_ = native_files::FolderIdentity(UserDataFolderPath(userFolderName));
    }
    swapFiles_ = platform::SwapFileIdentities();
}

void frmFileOps::SetSensitiveFileExtensions(std::int16_t intVal) {
    std::int16_t i = 0;
    for (const char* extension : kSensitiveExtensions) {
        ++i;
        strSensitiveExtension[i] = extension;
        intExtensionPermission[i] = intVal;
    }
    intNumSensitiveExtns = i;
    LearnProtectedFiles();
}

void frmFileOps::SetValueForPurgeFilesWithExtension(const std::string& strExt,
                                                    std::int16_t intVal) {
    for (int i = 1; i <= intNumSensitiveExtns; ++i) {
        if (strSensitiveExtension[i] == strExt) {
            intExtensionPermission[i] = intVal;
            return;
        }
    }
}

std::int16_t frmFileOps::ExcludedFile(const std::string& strFilepath,
                                      const platform::FileIdentity& folder,
                                      const platform::FileIdentity& file) const {
    if (programFolder_ && programFolder_->SameObjectAs(folder)) return kInProgramFolder;
    if (userFolder_ && userFolder_->SameObjectAs(folder)) return kInProgramFolder;
    for (const auto& swapFile : swapFiles_) {
        if (swapFile.SameObjectAs(file)) return kSwapFile;
    }
    const std::string extension = FileExtension(LowerCase(strFilepath), true);
    if (extension.empty()) return 0;
    if (extension == "swp") return kSwapFile;
    for (int i = 1; i <= intNumSensitiveExtns; ++i) {
        if (strSensitiveExtension[i] != extension) continue;
        if (intExtensionPermission[i] == -1) return kSensitiveRefused;
        if (intExtensionPermission[i] == 0) return kSensitiveNotAllowed;
        return 0;
    }
    return 0;
}

std::int16_t frmFileOps::ExcludedFile(const std::string& strFilepath) const {
    platform::FileIdentity folder;
    platform::FileIdentity file;
    if (auto parent = platform::Files().OpenParent(strFilepath)) {
        folder = parent->folder->Identity();
        if (auto entry = parent->folder->Look(parent->name)) file = entry->identity;
    }
    return ExcludedFile(strFilepath, folder, file);
}
