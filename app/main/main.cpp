// The purge program: the main window on the desktop, or, with --list,
// --purge or --help, the command-line mode, which needs no display.
#include <unistd.h>

#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Forms.h"
#include "app/frmMain.h"
#include "platform/FreedMemory.h"
#include "platform/OpenFolderLimit.h"
#include "ui/qt/QtUi.h"

int main(int argc, char** argv) {
    platform::AllowManyOpenFolders();
    platform::ReturnLargeFreedBlocks();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (IsCommandLineRequest(args)) {
        return RunCommandLine(args, std::cout, std::cerr, std::cin, ::isatty(STDIN_FILENO) != 0,
                              ::isatty(STDERR_FILENO) != 0);
    }
    QApplication app(argc, argv);
    ui::QtUi windows(app);
    ui::SetUi(&windows);
    FormSet forms;
    forms.Main().Form_Load();
    return app.exec();
}
