// Quizmora Hungarian: every run begins in the working-language window.

#include <QApplication>
#include <QIcon>

#include "app/tasks.h"
#include "toolkit/runtime.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quizmora Hungarian"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/emblem1.xpm")));
    tk::Runtime::instance().quitOnEnd = true;
    tasks::show(tasks::Language);
    return app.exec();
}
