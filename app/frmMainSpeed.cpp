// The main window's "Test purge speed" button.
#include "app/frmMain.h"
#include "disk/PurgeSpeedTest.h"

void frmMain::cmdPurgeSpeed_MouseUp() { TestPurgeSpeed(); }
