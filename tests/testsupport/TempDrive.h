// Temporary folders mapped as drive letters, and a headless back end that is
// in force for the life of a test.
#pragma once

#include <string>
#include <vector>

#include "platform/DrivePaths.h"
#include "ui/headless/HeadlessUi.h"

namespace testing_support {

// Maps each requested letter to a fresh temporary folder for the life of the
// object; the previous drive table comes back afterwards and the folders
// are removed (write bits are restored first, so read-only files go too).
class TempDrives {
public:
    explicit TempDrives(const std::string& letters = "C");
    ~TempDrives();
    TempDrives(const TempDrives&) = delete;
    TempDrives& operator=(const TempDrives&) = delete;

    // Native folder of a drive, and a native path below it.
    std::string Root(char letter = 'C') const;
    std::string Native(const std::string& drivePath) const;

    // Creates a file (and its folders) with the given contents; drive path.
    void WriteFile(const std::string& drivePath, const std::string& contents) const;
    std::string ReadFile(const std::string& drivePath) const;
    void MakeFolder(const std::string& drivePath) const;
    bool Exists(const std::string& drivePath) const;

private:
    std::string base_;
    platform::DriveTable previous_;
    platform::DriveTable table_;
};

// Puts a headless back end in force for the life of the object.
class HeadlessScope {
public:
    HeadlessScope();
    ~HeadlessScope();
    ui::HeadlessUi& operator*() { return ui_; }
    ui::HeadlessUi* operator->() { return &ui_; }

private:
    ui::HeadlessUi ui_;
};

}  // namespace testing_support
