// The main window's side of the purge type: the dialog around its showing,
// and the label that describes the choice.
#include <string>

#include "app/Forms.h"
#include "app/PurgeTypeChoice.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"

void frmMain::cmdTypeOfPurge_MouseUp() {
    frmTypeOfPurge& dialog = Forms().TypeOfPurge();
    fraMenu.SetEnabled(false);
    dialog.MoveTo(Left() + fraMenu.Width() + 250, Top() + cmdProcessFiles(2).Top() + 440);
    dialog.ShowModal();
    fraMenu.SetEnabled(true);
    ShowTypeOfPurge();
    lblSetupFilename.SetCaption("");
}

void frmMain::ShowTypeOfPurge() {
    lblTypeOfPurge.Move(lblTypeOfPurge.Left(), cmdTypeOfPurge.Top() + 150);
    lblTypeOfPurge.SetCaption(TypeOfPurgeCaption(Forms().TypeOfPurge().Choice()));
}

std::string frmMain::PurgeTypeNumPasses(int intPurgeType, int intNumberOfPasses) {
    return ::PurgeTypeNumPasses(intPurgeType, intNumberOfPasses);
}
