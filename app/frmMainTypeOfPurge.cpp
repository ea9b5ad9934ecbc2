// The main window's side of the purge type: the dialog around its showing,
// and the descriptions of the choice.
#include <string>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"

namespace {
std::string TimesText(int passes) {
    if (passes == 1) return "once";
    if (passes == 2) return "twice";
    return std::to_string(passes) + " times";
}
}  // namespace

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
    lblTypeOfPurge.SetCaption(TypeOfPurgeCaption(Forms().TypeOfPurge()));
}

std::string TypeOfPurgeCaption(const frmTypeOfPurge& dialog) {
    int type = dialog.GetPurgeType();
    int passes = dialog.GetNumberOfPasses();
    int overwrites = dialog.GetNumOverwrites();
    std::string caption = dialog.optPurgeType(type).Caption().substr(3);
    auto first = caption.find_first_not_of(' ');
    auto last = caption.find_last_not_of(' ');
    caption = first == std::string::npos ? "" : caption.substr(first, last - first + 1);
    caption += ", " + TimesText(passes) + " (= " + std::to_string(overwrites) + " overwrite" +
               (overwrites > 1 ? "s" : "") + ")";
    return caption;
}

std::string frmMain::PurgeTypeNumPasses(int intPurgeType, int intNumberOfPasses) {
    static const char* const kDescriptions[] = {"random bytes", "alternate bit patterns",
                                                "alternate bit patterns plus random bytes"};
    if (intPurgeType < 0 || intPurgeType > 2) return "";
    return std::string(kDescriptions[intPurgeType]) + " " + TimesText(intNumberOfPasses);
}
