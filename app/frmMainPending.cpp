// Main-window procedures whose operations are still to be built. Each does
// nothing yet, so the window starts and its finished buttons work.
#include "app/frmMain.h"


void frmMain::cmdWipeDisk_MouseUp() {}
