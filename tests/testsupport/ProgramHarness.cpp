#include "tests/testsupport/ProgramHarness.h"

#include <cstdlib>

#include "app/frmMain.h"
#include "platform/ProgramFolder.h"

namespace testing_support {

const char* const kStandardProgramText =
    "1\tKestrane\n"
    "4\t(Not specified)\n"
    "23\tNumber of overwrites\n"
    "27\thttps://kestrane.example/docs/\n"
    "310\tKestrane\n";

ProgramFiles::ProgramFiles(const char* programText, const std::string& letters)
    : drives_(letters) {
    drives_.MakeFolder(kProgramFolder);
    if (programText != nullptr) {
        drives_.WriteFile(std::string(kProgramFolder) + "\\kz_text.dat", programText);
    }
    drives_.MakeFolder("C:\\home\\.config");
    ::setenv("XDG_CONFIG_HOME", drives_.Native("C:\\home\\.config").c_str(), 1);
    platform::SetProgramFolderForTesting(drives_.Native(kProgramFolder));
}

ProgramFiles::~ProgramFiles() {
    platform::SetProgramFolderForTesting("");
    ::unsetenv("XDG_CONFIG_HOME");
}

ProgramHarness::ProgramHarness(const char* programText, const std::string& letters)
    : files_(programText, letters), forms_(std::make_unique<FormSet>()) {}

ProgramHarness::~ProgramHarness() { forms_.reset(); }

bool ProgramHarness::Restart() {
    forms_.reset();
    forms_ = std::make_unique<FormSet>();
    return Start();
}

bool ProgramHarness::Start() {
    try {
        forms_->Main().Form_Load();
        return true;
    } catch (const ui::ProgramEnded& ended) {
        exitCode_ = ended.exitCode;
        return false;
    }
}

}  // namespace testing_support
