// What the main window showed before a wipe took it over: the selection,
// its subfolder and confirmation settings and the operation file's name.
// A wipe shows them all for the whole drive; however it ends, the window
// gets the user's own back, so that no later "Purge files" is armed on the
// whole drive.
#pragma once

#include <string>

class frmMain;

class SelectionBeforeWipe {
  public:
    explicit SelectionBeforeWipe(const frmMain& main);
    void PutBack(frmMain& main) const;

  private:
    std::string folder_;
    std::string fileSpec_;
    bool subfolders_;
    bool confirmFiles_;
    std::string operationFile_;
};
