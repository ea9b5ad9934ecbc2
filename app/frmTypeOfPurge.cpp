#include "app/frmTypeOfPurge.h"

frmTypeOfPurge::frmTypeOfPurge() : Form("frmTypeOfPurge") { SetCaption("Type of purge"); }

void frmTypeOfPurge::Initialization() {}
int frmTypeOfPurge::GetPurgeType() const { return 2; }
int frmTypeOfPurge::GetNumberOfPasses() const { return 3; }
int frmTypeOfPurge::GetNumOverwrites() const { return 18; }
