#include "Helpers.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace veldran_test {

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path() / "veldran-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(path_);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

uint32_t WordAt(const std::string& bytes, std::size_t index) {
    uint32_t word = 0;
    for (int b = 3; b >= 0; --b) word = word << 8 | static_cast<uint8_t>(bytes.at(index * 4 + b));
    return word;
}

ProgramRun RunVeldran(const std::string& folder, const std::vector<std::string>& args,
                      const RunOptions& options) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0) throw std::runtime_error("pipe failed");
    // Written before the child starts, so that it cannot have gone already;
    // the input is small enough for the pipe's buffer.
    if (write(input[1], options.input.data(), options.input.size()) < 0) {
        throw std::runtime_error("write failed");
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        close(input[1]);
        close(output[0]);
        const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
        std::vector<char*> argv{const_cast<char*>(VELDRAN_PROGRAM)};
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (chdir(folder.c_str()) != 0 || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(120);
        if (options.asOtherUser && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(121);
        }
        execv(argv[0], argv.data());
        _exit(122);
    }
    close(input[0]);
    close(input[1]);
    close(output[1]);
    ProgramRun run{};
    char buffer[4096];
    for (ssize_t count; (count = read(output[0], buffer, sizeof buffer)) > 0;) {
        run.output.append(buffer, count);
    }
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    return run;
}

std::string PassTexts(const std::string& name, int writes, int reached) {
    std::string texts =
        "File " + name + " will be overwritten " + std::to_string(writes) + " times.";
    for (int pass = 1; pass <= (reached ? reached : writes); ++pass) {
        texts += pass == 1   ? "\n1st overwrite with byte 0 ..."
                 : pass == 2 ? "\n2nd overwrite with byte 0xFF ..."
                             : "\nOverwrite #" + std::to_string(pass) + " with random bytes ...";
    }
    return texts;
}

}  // namespace veldran_test
