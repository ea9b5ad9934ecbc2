#include "tests/testsupport/ProgramHarness.h"

#include <cstdlib>
#include <memory>

#include "app/frmMain.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

namespace testing_support {
namespace {

#ifdef _WIN32
// Windows takes the known folders from the registry, so the test puts a
// shell in force that names its own; addresses still go to the real one.
class ApplicationDataShell final : public platform::Shell {
  public:
    explicit ApplicationDataShell(std::string folder) : folder_(std::move(folder)) {}
    std::optional<std::string> ApplicationDataFolder() override { return folder_; }
    int OpenAddress(const std::string& address) override {
        return platform::MakeSystemShell()->OpenAddress(address);
    }

  private:
    std::string folder_;
};
#endif

// Points the user's application-data folder at `folder` ("" restores it).
void RedirectApplicationData(const std::string& folder) {
#ifdef _WIN32
    platform::SetShellForTesting(folder.empty() ? nullptr
                                                : std::make_shared<ApplicationDataShell>(folder));
#else
    if (folder.empty()) {
        ::unsetenv("XDG_CONFIG_HOME");
    } else {
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
#endif
}

}  // namespace

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
    RedirectApplicationData(drives_.Native("C:\\home\\.config"));
    platform::SetProgramFolderForTesting(drives_.Native(kProgramFolder));
}

ProgramFiles::~ProgramFiles() {
    platform::SetProgramFolderForTesting("");
    RedirectApplicationData("");
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
