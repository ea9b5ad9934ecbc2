#include "purge/frmPurgeWarning.h"

frmPurgeWarning::frmPurgeWarning() : Form("frmPurgeWarning") { SetCaption("Purge advice"); }
