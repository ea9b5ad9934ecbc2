// A started program on temporary drives, ready to list or purge a
// selection, for the tests of the report window and its runs.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/frmConfirmFiles.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "purge/FileProc.h"
#include "purge/NumberFormat.h"
#include "purge/ReportText.h"
#include "purge/TorvixLibrary.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

namespace run_testing {

class RunProgram {
  public:
    explicit RunProgram(const std::string& letters = "C")
        : program_(testing_support::kStandardProgramText, letters) {
        SetNumberStyleForTesting(NumberStyle{});
        started_ = program_.Start();
        EXPECT_TRUE(started_);
        // No file-monitoring software, unless a test says otherwise.
        Ui().OnModal("frmAntiVirusQuery", [](ui::Form& form) {
            static_cast<frmAntiVirusQuery&>(form).cmdNo.RaiseClick();
        });
    }
    ~RunProgram() {
        SetNumberStyleForTesting(std::nullopt);
        SetReportCapacityForTesting(0);
    }

    FormSet& Windows() { return program_.Windows(); }
    frmMain& Main() { return program_.Windows().Main(); }
    frmReport& Report() { return program_.Windows().Report(); }
    ui::HeadlessUi& Ui() { return program_.Ui(); }
    testing_support::TempDrives& Drives() { return program_.Drives(); }

    void Select(const std::string& folder, const std::string& spec, bool subfolders) {
        Main().strFolderPath[0] = folder;
        Main().strFileSpec[0] = spec;
        Main().blnSubdirectories = subfolders;
        Main().RefreshSelection();
    }
    void SetPurgeType(int type, int passes) {
        ASSERT_TRUE(program_.Windows().TypeOfPurge().SelectTypeAndPasses(type, passes));
        Main().ShowTypeOfPurge();
    }

    // "List files, estimate time"; with subfolders the answer to "Display
    // folder names?" must be queued first.
    const std::string& List() {
        Main().cmdProcessFiles(2).RaiseMouseUp();
        return Report().ReportText();
    }

    // "Purge files", confirmed with the check boxes as they are.
    const std::string& Purge() {
        Ui().OnModal("frmPurgeConfirmation", [](ui::Form& form) {
            static_cast<frmPurgeConfirmation&>(form).cmdDoPurge.RaiseClick();
        });
        Main().cmdProcessFiles(1).RaiseMouseUp();
        return Report().ReportText();
    }
    frmPurgeConfirmation& Options() { return program_.Windows().PurgeConfirmation(); }

    // A file of the given size that takes no room on the disk.
    void WriteSparseFile(const std::string& drivePath, std::uintmax_t bytes) {
        Drives().WriteFile(drivePath, "");
        ASSERT_TRUE(testing_support::MakeSparse(Drives().Native(drivePath), bytes));
    }
    void MakeLink(const std::string& drivePath, const std::string& nativeTarget) {
        std::filesystem::create_symlink(nativeTarget, Drives().Native(drivePath));
    }
    void MakeFifo(const std::string& drivePath) {
        ASSERT_TRUE(testing_support::MakeFifo(Drives().Native(drivePath)));
    }

  private:
    testing_support::ProgramHarness program_;
    bool started_ = false;
};

// The purge library as the run sees it: chosen files get a chosen result
// code, every call is recorded, and the rest goes to the real library.
class FakeLibrary {
  public:
    FakeLibrary() {
        SetPurgeLibraryForTesting([this](const PurgeLibraryRequest& request,
                                         std::int32_t& seconds) {
            calls.push_back(request.name);
            if (onCall) onCall(request.name);
            auto code = codes.find(request.name);
            if (code != codes.end()) {
                seconds = secondsPerCall;
                return code->second;
            }
            const std::int32_t result = CallPurgeLibrary(request, seconds);
            if (secondsOfRealCalls) seconds = *secondsOfRealCalls;
            return result;
        });
    }
    ~FakeLibrary() { SetPurgeLibraryForTesting(nullptr); }

    std::map<std::string, std::int32_t> codes;
    std::int32_t secondsPerCall = 0;  // what a call with a chosen code reports
    // What the real library's calls report instead of the seconds they took,
    // for reports that must not change when a loaded machine is slow.
    std::optional<std::int32_t> secondsOfRealCalls;
    std::vector<std::string> calls;
    std::function<void(const std::string& name)> onCall;
};

}  // namespace run_testing
