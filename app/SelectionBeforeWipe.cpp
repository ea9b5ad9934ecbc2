#include "app/SelectionBeforeWipe.h"

#include "app/frmMain.h"

SelectionBeforeWipe::SelectionBeforeWipe(const frmMain& main)
    : folder_(main.strFolderPath[0]),
      fileSpec_(main.strFileSpec[0]),
      subfolders_(main.blnSubdirectories),
      confirmFiles_(main.blnConfirmFiles),
      operationFile_(main.lblSetupFilename.Caption()) {}

void SelectionBeforeWipe::PutBack(frmMain& main) const {
    main.strFolderPath[0] = folder_;
    main.strFileSpec[0] = fileSpec_;
    main.blnSubdirectories = subfolders_;
    main.blnConfirmFiles = confirmFiles_;
    main.ShowSelection(0);
    main.ShowSubfolderSetting();
    main.ShowConfirmFilesSetting();
    main.lblSetupFilename.SetCaption(operationFile_);
}
