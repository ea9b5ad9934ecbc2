// veldran filename [num_writes]: overwrites one file 4 to 18 times, then
// deletes it. Exits with 0 or with a negative code (see Result.h), which
// POSIX reports modulo 256 (-7 arrives as 249) and Windows as it is.
#include <ctime>
#include <string>
#include <vector>

#include "veldran/Arguments.h"
#include "veldran/CommandLine.h"
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
    const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
    if (arguments.empty()) {
        console->Write(UsageText());
        return 0;
    }
    const std::string& name = arguments[0];
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
    const int writes = ReadWriteCount(arguments.size() > 1 ? arguments[1].c_str() : nullptr);
    console->Write(WritesAnnouncement(name, writes));

    SeedGenerator seeds(static_cast<uint32_t>(std::time(nullptr)));
    const Result result = Wipe(name, writes, seeds, *console, NativeFileSystem());
    console->Write(ResultMessage(result, name));
    return static_cast<int>(result);
}
