// A whole program for one test: drives mapped to temporary folders, the
// program's folder on drive C: holding a program text file, a per-user
// configuration folder, and a fresh set of windows, with a headless back
// end in force (ProgramHarness) or another that the test puts in force.
#pragma once

#include <memory>
#include <string>

#include "app/Forms.h"
#include "tests/testsupport/TempDrive.h"

namespace testing_support {

// The texts a normal installation ships with.
extern const char* const kStandardProgramText;

// The installation and the user's folders, on temporary drives.
class ProgramFiles {
public:
    // programText: contents of kz_text.dat in the program's folder; null
    // leaves the folder without one.
    explicit ProgramFiles(const char* programText = kStandardProgramText,
                          const std::string& letters = "C");
    ~ProgramFiles();

    TempDrives& Drives() { return drives_; }
    static constexpr const char* kProgramFolder = "C:\\Program Files\\Kestrane";

private:
    TempDrives drives_;
};

class ProgramHarness {
public:
    explicit ProgramHarness(const char* programText = kStandardProgramText,
                            const std::string& letters = "C");
    ~ProgramHarness();

    // Runs the main window's start-up; false when the program ended during
    // it (its exit code is then in ExitCode()).
    bool Start();
    int ExitCode() const { return exitCode_; }
    // Ends this run's windows and starts a new run of the program on the
    // same drives, as the user's next start would.
    bool Restart();

    TempDrives& Drives() { return files_.Drives(); }
    ui::HeadlessUi& Ui() { return *ui_; }
    FormSet& Windows() { return *forms_; }

private:
    ProgramFiles files_;
    HeadlessScope ui_;
    std::unique_ptr<FormSet> forms_;
    int exitCode_ = -1;
};

}  // namespace testing_support
