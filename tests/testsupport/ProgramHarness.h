// A whole program for one test: drives mapped to temporary folders, the
// program's folder on drive C: holding a program text file, a headless back
// end in force and a fresh set of windows.
#pragma once

#include <memory>
#include <string>

#include "app/Forms.h"
#include "tests/testsupport/TempDrive.h"

namespace testing_support {

// The texts a normal installation ships with.
extern const char* const kStandardProgramText;

class ProgramHarness {
public:
    // programText: contents of kz_text.dat in the program's folder; null
    // leaves the folder without one.
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

    TempDrives& Drives() { return drives_; }
    ui::HeadlessUi& Ui() { return *ui_; }
    FormSet& Windows() { return *forms_; }
    static constexpr const char* kProgramFolder = "C:\\Program Files\\Kestrane";

private:
    TempDrives drives_;
    HeadlessScope ui_;
    std::unique_ptr<FormSet> forms_;
    int exitCode_ = -1;
};

}  // namespace testing_support
