#include "veldran/Texts.h"

#include "veldran/Arguments.h"

namespace veldran {

std::string UsageText() {
    return "\nVELDRAN.EXE, Version 3.1, Kestrane: tools that destroy files for good."
           "\nUse: VELDRAN filename [num_writes]"
           "\nnum_writes: number of times file is to be overwritten"
           "\n(at least 4 times, at most 18 times)"
           "\nExample: VELDRAN \\WINDOWS\\WIN386.SWP 6\n";
}

std::string_view WildcardRefusal() { return "Wildcard characters not permitted.\n"; }

std::string NameTooLongRefusal() {
    return "File name too long: at most " + std::to_string(kMaxNameBytes) + " bytes.\n";
}

std::string WritesAnnouncement(std::string_view name, int writes) {
    return "File " + std::string(name) + " will be overwritten " + std::to_string(writes) +
           " times.";
}

std::string PassAnnouncement(int pass) {
    if (pass == 1) return "\n1st overwrite with byte 0 ...";
    if (pass == 2) return "\n2nd overwrite with byte 0xFF ...";
    return "\nOverwrite #" + std::to_string(pass) + " with random bytes ...";
}

std::string ResultMessage(Result result, std::string_view name) {
    switch (result) {
        case Result::kWiped:
            return "\nThe file " + std::string(name) + " has been wiped.\n";
        case Result::kNotFound:
            return "\nFile not found.\n";
        case Result::kCannotOpen:
            return "\nUnable to open file.\n";
        case Result::kWriteFailed:
            return "\nUnable to write to file.  File not deleted.\n";
        case Result::kFlushFailed:
            return "\nUnable to flush data to disk.\n";
        case Result::kEscapePressed:
            return "\nEscape was pressed.  File not deleted.\n";
        case Result::kCannotDelete:
            return "\nUnable to delete file.\n";
    }
    return {};
}

}  // namespace veldran
