#include "app/MainForm.h"
#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QString>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    drovak::app::QtUserDialogs dialogs;
    drovak::app::MainForm form(QCoreApplication::applicationDirPath() + "/", dialogs);
    form.show();
    return QApplication::exec();
}
