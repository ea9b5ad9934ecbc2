// Main-window procedures whose operations are still to be built. Each does
// nothing yet, so the window starts and its finished buttons work.
#include "app/frmMain.h"

void frmMain::ToggleSubfoldersAndConfirmation() {}
void frmMain::RefreshSelection() {}
void frmMain::ShowSelection(int) {}
void frmMain::ShowSingleFileHint() {}
void frmMain::ShowSubfolderSetting() {}
bool frmMain::CheckFolderContents(const std::string&) { return false; }
void frmMain::ShowTypeOfPurge() {}
bool frmMain::LoadNextRunSetup() { return false; }
void frmMain::KeepSetupSnapshot() {}
void frmMain::CloseSetupPanel() {}

void frmMain::cmdSingleFile_MouseUp() {}
void frmMain::cmdSpecifyDirectory_MouseUp(int) {}
void frmMain::cmdSpecifyFiles_MouseUp(int) {}
void frmMain::cmdSubdirectories_MouseUp() {}
void frmMain::cmdConfirmFiles_MouseUp() {}
void frmMain::cmdTypeOfPurge_MouseUp() {}
void frmMain::cmdProcessFiles_MouseUp(int) {}
void frmMain::cmdPurgeSpeed_MouseUp() {}
void frmMain::cmdWipeDisk_MouseUp() {}
void frmMain::cmdSetup_MouseUp() {}
