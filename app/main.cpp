#include <QApplication>
#include <QMainWindow>

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/ui/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sq::QtDialogs dialogs;
    sq::setDialogService(&dialogs);
    sq::ensureProgramFolder();
    QMainWindow panel;
    panel.setWindowTitle("Panel V10.06");
    panel.resize(1024, 768);
    panel.show();
    return app.exec();
}
