// Quizmora Hungarian: every run begins in the working-language window.

#include <QApplication>
#include <QIcon>

#include "lang.h"
#include "runtime.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quizmora Hungarian"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/emblem1.xpm")));
    tk::Runtime::instance().quitOnEnd = true;
    tk::form<lang>().Show();
    return app.exec();
}
