#include <QApplication>

#include "mainwindow/panel.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/ui/classic_font.h"
#include "platform/ui/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Sonoquant");
    sq::useClassicFont();
    sq::QtDialogs dialogs;
    sq::setDialogService(&dialogs);
    sq::ensureProgramFolder();
    sq::Panel& panel = sq::startProgram();
    panel.Show();
    return app.exec();
}
