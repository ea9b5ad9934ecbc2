#include "disk/SelectionBeforeWipe.h"

#include "app/Forms.h"
#include "app/frmMain.h"
#include "purge/frmPurgeConfirmation.h"

SelectionBeforeWipe::SelectionBeforeWipe(const frmMain& main)
    : folder_(main.strFolderPath[0]),
      fileSpec_(main.strFileSpec[0]),
      subfolders_(main.blnSubdirectories),
      confirmFiles_(main.blnConfirmFiles),
      operationFile_(main.lblSetupFilename.Caption()) {
    const frmPurgeConfirmation& options = Forms().PurgeConfirmation();
    purgeSlack_ = options.blnPurgeSlack;
    doNotDeletePurgedFiles_ = options.blnDoNotDeletePurgedFiles;
    okToPurgeReadOnlyFiles_ = options.blnOKToPurgeReadOnlyFiles;
    okToPurgeSensitiveFiles_ = options.blnOKToPurgeSensitiveFiles;
    deleteEmptyFolders_ = options.blnDeleteEmptyFolders;
    folderNamesOnly_ = options.blnFolderNamesOnly;
}

void SelectionBeforeWipe::PutBack(frmMain& main) const {
    main.strFolderPath[0] = folder_;
    main.strFileSpec[0] = fileSpec_;
    main.blnSubdirectories = subfolders_;
    main.blnConfirmFiles = confirmFiles_;
    main.ShowSelection(0);
    main.ShowSubfolderSetting();
    main.ShowConfirmFilesSetting();
    main.lblSetupFilename.SetCaption(operationFile_);

    frmPurgeConfirmation& options = Forms().PurgeConfirmation();
    options.blnPurgeSlack = purgeSlack_;
    options.blnDoNotDeletePurgedFiles = doNotDeletePurgedFiles_;
    options.blnOKToPurgeReadOnlyFiles = okToPurgeReadOnlyFiles_;
    options.blnOKToPurgeSensitiveFiles = okToPurgeSensitiveFiles_;
    options.blnDeleteEmptyFolders = deleteEmptyFolders_;
    options.blnFolderNamesOnly = folderNamesOnly_;
}
