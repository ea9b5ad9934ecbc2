// The purge program: the main window on the desktop.
#include <QApplication>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "ui/qt/QtUi.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::QtUi windows(app);
    ui::SetUi(&windows);
    FormSet forms;
    forms.Main().Form_Load();
    return app.exec();
}
