// Temporary folders, file contents and runs of the built program.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <string>
#include <vector>

namespace veldran_test {

// A fresh folder, removed with its contents when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

// Little-endian 32-bit word number `index` of the bytes.
uint32_t WordAt(const std::string& bytes, std::size_t index);

struct RunOptions {
    std::string input = {};  // standard input, a pipe
    rlim_t fileSizeLimit = RLIM_INFINITY;
    bool asOtherUser = false;  // drops root, so folder permissions apply
};

struct ProgramRun {
    std::string output;
    int exitCode;  // as the shell sees it, 0 to 255
};

// Runs the built program in `folder`.
ProgramRun RunVeldran(const std::string& folder, const std::vector<std::string>& args,
                      const RunOptions& options = {});

// What a run of `writes` passes prints before its result, when it gets as
// far as announcing pass `reached` (all passes when 0).
std::string PassTexts(const std::string& name, int writes, int reached = 0);

}  // namespace veldran_test
