#include "purge/frmFileOps.h"

#include "platform/DrivePaths.h"
#include "platform/ProgramFolder.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"

namespace {

const char* const kSensitiveExtensions[] = {"bat", "bin", "com", "dll", "drv", "exe",
                                            "ini", "ovl", "pif", "sys", "ocx", "kbd"};

// The program's folder as a drive path ending in a backslash; "" when it
// lies on no drive, so that no file is taken for being in it.
std::string ProgramFolderPath() {
    auto drivePath = platform::ToDrivePath(platform::ProgramFolderNative());
    if (!drivePath || drivePath->empty()) return "";
    std::string folder = *drivePath;
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

frmFileOps::frmFileOps() : Form("frmFileOps") {}

void frmFileOps::SetSensitiveFileExtensions(std::int16_t intVal) {
    std::int16_t i = 0;
    for (const char* extension : kSensitiveExtensions) {
        ++i;
        strSensitiveExtension[i] = extension;
        intExtensionPermission[i] = intVal;
    }
    intNumSensitiveExtns = i;
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

std::int16_t frmFileOps::ExcludedFile(const std::string& strFilepath) const {
    const std::string path = LowerCase(strFilepath);
    const std::string programFolder = ProgramFolderPath();
    if (!programFolder.empty() && LowerCase(FolderOfPath(path)) == LowerCase(programFolder)) {
        return kInProgramFolder;
    }
    const std::string extension = FileExtension(path, true);
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
