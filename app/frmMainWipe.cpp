// The main window's "Wipe disk" button.
#include "app/MainWindowHosts.h"
#include "app/frmMain.h"

void frmMain::cmdWipeDisk_MouseUp() { WipeDisk(); }
