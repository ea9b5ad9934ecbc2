#include "support/ProgramText.h"

#include <array>
#include <cstdlib>
#include <utility>

#include "platform/DrivePaths.h"
#include "platform/ProgramFolder.h"
#include "purge/TorvixLibrary.h"
#include "ui/Ui.h"

namespace {

// A text holds at most 1,024 characters; in UTF-8 a character takes up to
// four bytes, so the shared buffer has room for 1,024 of the widest.
constexpr std::size_t kMaxTextCharacters = 1024;
constexpr std::int32_t kTextBufferSize = 4 * kMaxTextCharacters;
const char* const kCrLf = "\r\n";

// The one buffer that every fetch shares.
std::array<char, kTextBufferSize>& TextBuffer() {
    static std::array<char, kTextBufferSize> buffer{};
    return buffer;
}

std::function<bool()>& StartupCompletedSource() {
    static std::function<bool()> source;
    return source;
}

std::string NativeOf(const std::string& path) {
    return platform::ToNativePath(path).value_or(path);
}

[[noreturn]] void EndWithMessage(const std::string& message) {
    ui::TheUi().MsgBox(message, ui::Buttons::OK, ui::Icon::Critical, "");
    ui::TheUi().EndProgram(1);
    std::abort();  // no back end returns from ending the program
}

}  // namespace

std::string ProgramFolderPath() {
    std::string native = platform::ProgramFolderNative();
    return platform::ToDrivePath(native).value_or(native);
}

std::string ProgramTextLoadMessage(std::int32_t result, const std::string& fullPath) {
    switch (result) {
        case 0:
            return "No program text was read.";
        case -1:
            return std::string("Cannot open file containing program text.") + kCrLf + fullPath;
        case -2:
            return "Particular memory allocation error.";
        case -3:
            return "Too much program text.";
        case -4:
            return "Text not recovered.";
        case -6:
            return "File is empty.";
        case -7:
            return "Error reading file.";
        case -8:
            return "General memory allocation error.";
        default:
            break;
    }
    if (result >= -500) return "Error " + std::to_string(result);
    if (result >= -1000) return "Missing string at line " + std::to_string(-result - 500) + ".";
    if (result >= -1500) return "String too long at line " + std::to_string(-result - 1000) + ".";
    return "Duplicate in program text at line " + std::to_string(-result - 1500) + ".";
}

void LoadProgramText(const std::string& fileName) {
    std::string folder = ProgramFolderPath();
    char separator = folder.find('\\') != std::string::npos || folder.size() == 2 ? '\\' : '/';
    std::string fullPath = folder;
    if (fullPath.empty() || fullPath.back() != separator) fullPath += separator;
    fullPath += fileName;

    std::int32_t result = 0;
    try {
        result = torvix_binding::lt(NativeOf(fullPath), 0);
    } catch (const torvix_binding::LibraryUnavailable& e) {
        EndWithMessage(std::string("Cannot load the purge library.") + kCrLf + e.what());
    }
    if (result >= 1) return;
    EndWithMessage(ProgramTextLoadMessage(result, fullPath));
}

void SetStartupCompletedSource(std::function<bool()> source) {
    StartupCompletedSource() = std::move(source);
}

std::string GetProgramText(std::int16_t number) {
    const auto& started = StartupCompletedSource();
    const std::int32_t startupCompleted = started && started() ? 1 : 0;
    auto& buffer = TextBuffer();
    std::int32_t n = 0;
    try {
        n = torvix_binding::gt(number, 0, buffer.data(), kTextBufferSize, startupCompleted);
    } catch (const torvix_binding::LibraryUnavailable&) {
        return "";
    }
    if (n < 1) return "";
    std::string text(buffer.data(), static_cast<std::size_t>(std::min(n, kTextBufferSize)));
    // At most 1,024 characters, never half of one.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > kMaxTextCharacters) {
            text.resize(i);
            break;
        }
    }
    return text;
}
