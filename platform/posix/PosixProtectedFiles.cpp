// The program's folder and the swap files in use, as POSIX shows them.
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/ProgramFolder.h"
#include "platform/ProtectedFiles.h"
#include "platform/posix/PosixFolderHandle.h"
#include "platform/posix/SwapFileNames.h"

namespace platform {
namespace {

std::optional<FileIdentity> IdentityOfNative(const std::string& path) {
    auto entry = EntryAt(AT_FDCWD, path);
    if (!entry) return std::nullopt;
    return entry->identity;
}

// /proc/swaps writes blanks and tabs in names as octal escapes.
std::string Unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

}  // namespace

std::optional<FileIdentity> ProgramFolderIdentity() {
    return IdentityOfNative(ProgramFolderNative());
}

std::vector<std::string> SwapFileNamesIn(std::istream& procSwaps) {
    std::vector<std::string> names;
    std::string line;
    std::getline(procSwaps, line);  // the heading
    while (std::getline(procSwaps, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string type;
        fields >> name >> type;
        if (type == "file") names.push_back(Unescaped(name));
    }
    return names;
}

std::vector<FileIdentity> SwapFileIdentities() {
    std::vector<FileIdentity> identities;
    std::ifstream swaps("/proc/swaps");
    for (const std::string& name : SwapFileNamesIn(swaps)) {
        if (auto identity = IdentityOfNative(name)) identities.push_back(*identity);
    }
    return identities;
}

}  // namespace platform
