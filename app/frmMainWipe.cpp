// The main window's "Wipe disk" button.
#include "app/frmMain.h"
#include "disk/DiskWipe.h"

void frmMain::cmdWipeDisk_MouseUp() { WipeDisk(); }
