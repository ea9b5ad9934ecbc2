#include "purge/frmPurgeConfirmation.h"

using ui::ControlKind;

frmPurgeConfirmation::frmPurgeConfirmation()
    : Form("frmPurgeConfirmation"),
      chkOKToPurgeSensitiveFiles(Add(ControlKind::CheckBox, "chkOKToPurgeSensitiveFiles",
                                     "OK to purge sensitive files (exe, dll, doc, etc.)", 240,
                                     2400, 6000, 300)),
      chkPurgeSlack(Add(ControlKind::CheckBox, "chkPurgeSlack", "Purge slack area", 240, 1200,
                        3000, 300)),
      chkDeleteEmptyFolders(Add(ControlKind::CheckBox, "chkDeleteEmptyFolders",
                                "Delete any folder in which all files have been deleted", 240,
                                2800, 6000, 300)),
      chkOKToPurgeReadOnlyFiles(Add(ControlKind::CheckBox, "chkOKToPurgeReadOnlyFiles",
                                    "OK to purge read-only files", 240, 2000, 6000, 300)),
      chkFolderNamesOnly(Add(ControlKind::CheckBox, "chkFolderNamesOnly",
                             "Include only folder names in report", 240, 3200, 6000, 300)),
      chkDoNotDeletePurgedFiles(Add(ControlKind::CheckBox, "chkDoNotDeletePurgedFiles",
                                    "Do not delete purged files (so the result can be inspected)",
                                    240, 1600, 6000, 300)) {
    SetCaption("Purge confirmation");
    Resize(7000, 4500);
}
