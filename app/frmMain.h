// The main window: the program's only top-level window.
//
// It holds the operation setup of the current operation, shows it in a
// column of labels, and offers the menu buttons that start every operation.
// The window does no file work itself: each menu button hands over to the
// window or module that owns the operation. Menu buttons act when a mouse
// button is released over them, never on a keyboard press.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/Form.h"

struct SetupRecord;

class frmMain : public ui::Form {
  public:
    frmMain();

    // Start-up: loads the program texts (a failure ends the program), builds
    // the window, reads the next-run setup and shows the selection.
    void Form_Load();

    // Public values of the operation setup.
    bool blnMultipleFiles = false;
    bool blnSubdirectories = false;
    bool blnConfirmFiles = false;
    bool blnWipeDisk = false;
    bool blnStartupCompleted = false;
    int intCharWidth = 0;
    std::int32_t intNumFiles = 0;

    // Per-drive tables, indexed by drive letter - 'A'.
    std::array<float, 26> sngPurgeSpeed{};
    std::array<std::int32_t, 26> lngClusterSizeByDrive{};
    std::string strProductName;
    std::string strVersion;

    // The selection of each input slot; only slot 0 is used.
    std::array<std::string, 2> strFolderPath;
    std::array<std::string, 2> strFileSpec;
    std::string strNotSpecified;
    std::string strDocumentationAddress;
    std::string strNextRunSetupPath;
    // The drive last chosen for a speed test or a disk wipe ("C:"), or "".
    std::string strLastDrive;

    // How many main windows this process has made: the command line makes
    // one only for what needs it (a wipe, a speed test, --save).
    static int InstancesMade();

    // "8.27": the version the caption shows and setup files record.
    static std::string ProgramVersion();

    void InitializeMainWindow();
    void ToggleSubfoldersAndConfirmation();
    bool FilesSpecified() const;
    void SetSelectionLabelsVisible(bool visible);

    // File selection.
    void RefreshSelection();
    void ShowSelection(int slot);
    void ShowSingleFileHint();
    void ShowSubfolderSetting();
    // The confirmation labels for blnConfirmFiles as it stands.
    void ShowConfirmFilesSetting();
    bool CheckFolderContents(const std::string& fileSpec);

    // Purge type.
    void ShowTypeOfPurge();
    // The purge type and passes in words, as the report writes them:
    // "random bytes 3 times", "alternate bit patterns once".
    static std::string PurgeTypeNumPasses(int intPurgeType, int intNumberOfPasses);

    // Setup persistence. LoadSetupFile applies what it read and is true
    // when the whole file was read; SaveSetupFile is true when the file was
    // written completely (a failed save leaves the old file as it was).
    bool LoadSetupFile(const std::string& path);
    // Applies a setup as a load does: the flags are taken as their opposites
    // until ToggleSubfoldersAndConfirmation turns them back.
    void ApplySetup(const SetupRecord& record);
    bool LoadNextRunSetup();
    bool SaveSetupFile(const std::string& path);
    void KeepSetupSnapshot();
    void CloseSetupPanel();
    void cmdRestoreSetup_Click();

    // The texts of the window that do not come from the program text file.
    static const char* const kHelpText;
    static const char* const kBuildStamp;
    static const char* const kMakerAddress;

    ui::Control& Clock;
    ui::Control& fraSetup;
    ui::Control& cmdKeepSetup;
    ui::Control& cmdLoadSetup;
    ui::Control& cmdSaveSetup;
    ui::Control& cmdClearSetup;
    ui::Control& cmdRestoreSetup;
    ui::Control& fraMenu;
    ui::Control& cmdPurgeSpeed;
    ui::Control& cmdSingleFile;
    ui::Control& cmdWipeDisk;
    ui::Control& cmdTypeOfPurge;
    ui::Control& cmdConfirmFiles;
    ui::Control& cmdSetup;
    ui::Control& cmdQuit;
    ui::Control& cmdSubdirectories;
    ui::Control& cmdReportScreen;
    ui::Control& cmdHelp;
    ui::Control& picSaveSetup;
    ui::Control& cmdSaveSetupAsOperationFile;
    ui::Control& cmdSaveSetupForNextRun;
    ui::Control& cmdDontSaveSetup;
    ui::Control& lblEstimatedTime;
    ui::Control& lblSingleFile;
    ui::Control& lblOnlineDocumentation;
    ui::Control& lblTalvaneSystems;
    ui::Control& lblTypeOfPurge;
    ui::Control& lblConfirmFiles;
    ui::Control& lblConfirmFiles2;
    ui::Control& lblPurgeSpeed;
    ui::Control& lblSetupFilename;
    ui::Control& lblCopyright;
    ui::Control& lblSubdirectories2;
    ui::Control& lblSubdirectories;

    // Control arrays: elements 2 and 1 of cmdProcessFiles; element 0 (the
    // input slot) of the others.
    ui::Control& cmdProcessFiles(int index) const { return (*this)("cmdProcessFiles", index); }
    ui::Control& cmdSpecifyDirectory(int slot) const {
        return (*this)("cmdSpecifyDirectory", slot);
    }
    ui::Control& cmdSpecifyFiles(int slot) const { return (*this)("cmdSpecifyFiles", slot); }
    ui::Control& lblDirectory(int slot) const { return (*this)("lblDirectory", slot); }
    ui::Control& lblFiles(int slot) const { return (*this)("lblFiles", slot); }
    ui::Control& lblFiles2(int slot) const { return (*this)("lblFiles2", slot); }

    // Menu actions, one per button (MouseUp).
    void cmdSingleFile_MouseUp();
    void cmdSpecifyDirectory_MouseUp(int slot);
    void cmdSpecifyFiles_MouseUp(int slot);
    void cmdSubdirectories_MouseUp();
    void cmdConfirmFiles_MouseUp();
    void cmdTypeOfPurge_MouseUp();
    void cmdProcessFiles_MouseUp(int index);
    void cmdPurgeSpeed_MouseUp();
    void cmdWipeDisk_MouseUp();
    void cmdReportScreen_MouseUp();
    void cmdSetup_MouseUp();
    void cmdHelp_MouseUp();
    void cmdQuit_MouseUp();

  private:
    void CreateControls();
    void WireSetupPanels();
    void cmdLoadSetup_Click();
    void cmdSaveSetupAsOperationFile_Click();
    void WireMenuButton(ui::Control& button, void (frmMain::*action)());
    void WireMenuButton(ui::Control& button, std::function<void()> action);
    void WireFocusFollowsMouse();
    void Clock_Timer();
    // Where a file dialog opens: the operation file's folder, else the
    // selected folder ("" when neither is known).
    std::string FolderInUse() const;
    // Left edge of a setup panel opened beside the menu.
    int BesideMenu() const;

    std::string savedFilesCaption_;
    std::string snapshotFolderPath_;
    std::string snapshotFileSpec_;
    bool snapshotSubdirectories_ = false;
    bool snapshotConfirmFiles_ = false;
};
