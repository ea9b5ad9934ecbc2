#include "platform/NativePaths.h"
#include "platform/win32/SystemHeaders.h"

namespace platform {

const char kNativeSeparator = '\\';

DriveTable DefaultDriveTable() {
    DriveTable table;
    const DWORD mask = ::GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (mask & (DWORD{1} << (letter - 'A'))) table.Map(letter, std::string(1, letter) + ":\\");
    }
    return table;
}

}  // namespace platform
