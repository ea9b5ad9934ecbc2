// The program's windows: one of each, created on first use and afterwards
// only hidden and shown again, so that their values persist for the run.
//
// A FormSet owns them. The program has one for its whole life; each test
// makes a fresh one, so no state leaks from one test to the next. Windows
// reach each other through TheForms(), as in Forms().Report().blnStop.
#pragma once

#include <memory>

class frmMain;
class frmReport;
class frmTypeOfPurge;
class frmPurgeConfirmation;
class frmPurgeWarning;
class frmSpecifyFiles;
class frmConfirmFiles;
class frmAntiVirusQuery;
class frmFileOps;
class frmExcludedFolders;
class frmSpecifyDrive;
class frmFillDisk;

class FormSet {
public:
    FormSet();
    ~FormSet();
    FormSet(const FormSet&) = delete;
    FormSet& operator=(const FormSet&) = delete;

    frmMain& Main();
    frmReport& Report();
    frmTypeOfPurge& TypeOfPurge();
    frmPurgeConfirmation& PurgeConfirmation();
    frmPurgeWarning& PurgeWarning();
    frmSpecifyFiles& SpecifyFiles();
    frmConfirmFiles& ConfirmFiles();
    frmAntiVirusQuery& AntiVirusQuery();
    frmFileOps& FileOps();
    frmExcludedFolders& ExcludedFolders();
    frmSpecifyDrive& SpecifyDrive();
    frmFillDisk& FillDisk();

    // The main window when it exists (it does not while it is being built).
    frmMain* MainIfCreated() const { return main_.get(); }
    // A run without the main window (the command line's) has started up
    // once its program texts are loaded, as the main window's start-up says.
    void SetStartupCompleted() { startupCompleted_ = true; }
    bool StartupCompleted() const;

private:
    // Links what the windows made so far need of each other: the report's
    // clock is the main window's, the purge confirmation keeps its cluster
    // sizes in the main window's table.
    void Wire();

    bool startupCompleted_ = false;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmReport> report_;
    std::unique_ptr<frmTypeOfPurge> typeOfPurge_;
    std::unique_ptr<frmPurgeConfirmation> purgeConfirmation_;
    std::unique_ptr<frmPurgeWarning> purgeWarning_;
    std::unique_ptr<frmSpecifyFiles> specifyFiles_;
    std::unique_ptr<frmConfirmFiles> confirmFiles_;
    std::unique_ptr<frmAntiVirusQuery> antiVirusQuery_;
    std::unique_ptr<frmFileOps> fileOps_;
    std::unique_ptr<frmExcludedFolders> excludedFolders_;
    std::unique_ptr<frmSpecifyDrive> specifyDrive_;
    std::unique_ptr<frmFillDisk> fillDisk_;
};

// The set in force. A FormSet puts itself in force when it is made and
// steps back when it is destroyed.
FormSet& Forms();
