// The main window's "Test purge speed" button.
#include "app/MainWindowHosts.h"
#include "app/frmMain.h"

void frmMain::cmdPurgeSpeed_MouseUp() { TestPurgeSpeed(); }
