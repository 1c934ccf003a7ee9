// Quizmora Hungarian: every run with windows begins in the working-language
// window. The command-line options that need no window are answered before
// any window exists, without a display.

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QTextStream>
#include <cstdio>

#include "app/cli.h"
#include "app/qz_test.h"
#include "app/tasks.h"
#include "toolkit/runtime.h"

int main(int argc, char** argv) {
    const QStringList arguments = cli::arguments(argc, argv);
    if (!cli::wantsWindows(arguments)) {
        QCoreApplication app(argc, argv);
        cli::setNames();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return cli::run(app.arguments(), out, err);
    }
    QApplication app(argc, argv);
    cli::setNames();
    QGuiApplication::setDesktopFileName(QStringLiteral(QZ_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/emblem1.xpm")));
    qz_test::setBankFile(cli::bankOption(arguments));
    tk::Runtime::instance().quitOnEnd = true;
    tasks::show(tasks::Language);
    return app.exec();
}
