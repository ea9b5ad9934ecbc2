// veldran filename [num_writes]: overwrites one file 4 to 18 times, then
// deletes it. Exits with 0 or with a negative code (see Result.h), which
// POSIX reports modulo 256: -7 arrives as 249.
#include <ctime>
#include <string>

#include "veldran/Arguments.h"
#include "veldran/Console.h"
#include "veldran/FileSystem.h"
#include "veldran/Generators.h"
#include "veldran/Texts.h"
#include "veldran/Wipe.h"

namespace {
constexpr int kWildcardExit = -7;
constexpr int kNameTooLongExit = -8;
}  // namespace

int main(int argc, char** argv) {
    using namespace veldran;
    const std::unique_ptr<Console> console = OpenNativeConsole();
    if (argc < 2) {
        console->Write(UsageText());
        return 0;
    }
    const std::string name = argv[1];
    switch (CheckFileName(name)) {
        case NameCheck::kTooLong:
            console->Write(NameTooLongRefusal());
            return kNameTooLongExit;
        case NameCheck::kWildcard:
            console->Write(WildcardRefusal());
            return kWildcardExit;
        case NameCheck::kAccepted:
            break;
    }
    const int writes = ReadWriteCount(argc > 2 ? argv[2] : nullptr);
    console->Write(WritesAnnouncement(name, writes));

    SeedGenerator seeds(static_cast<uint32_t>(std::time(nullptr)));
    const Result result = Wipe(name, writes, seeds, *console, NativeFileSystem());
    console->Write(ResultMessage(result, name));
    return static_cast<int>(result);
}
