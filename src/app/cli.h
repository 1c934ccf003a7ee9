#pragma once
// The command line. Started without arguments the program opens its windows
// as always; the options are additions:
//
//   --help, --version
//   --bank FILE        run the windows on another item bank
//   --check [FILE]     check a bank; exit 0 clean, 1 problems, 2 unreadable
//   --export FILE.tsv  write every item to a tab-separated file
//   --import FILE.tsv  replace the bank's items with a file's rows
//
// Every option but --bank runs without a display and opens no window: the
// program decides from its arguments (wantsWindows) before it makes the
// application object.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace cli {

// The arguments as the program got them, read without an application object.
QStringList arguments(int argc, char** argv);

// Whether the arguments ask for the windows: none, or --bank FILE alone (Qt's
// own window options may come along). Anything else, a mistake included, is
// answered on the terminal by run().
bool wantsWindows(const QStringList& arguments);

// The item bank named by --bank (empty when none).
QString bankOption(const QStringList& arguments);

// Runs a request that needs no window and answers the exit status: 0 done,
// 1 the bank or the file has problems (listed), 2 a file cannot be read or
// written, or the command line is wrong. Needs a QCoreApplication.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The program's name and version on the application object.
void setNames();

}  // namespace cli
