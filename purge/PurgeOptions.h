// The purge confirmation's six options as a value: what its check boxes
// hold, what the user confirmed last, and what setup files store. The
// window keeps them in the dialog; the command line keeps its own and makes
// the dialog only where it asks the question.
#pragma once

struct PurgeOptions {
    bool blnPurgeSlack = false;
    bool blnDoNotDeletePurgedFiles = false;
    bool blnOKToPurgeReadOnlyFiles = false;
    bool blnOKToPurgeSensitiveFiles = false;
    bool blnFolderNamesOnly = false;
    bool blnDeleteEmptyFolders = false;
};
