#include "app/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/qz_test.h"
#include "core/error.h"
#include "itembank/exchange.h"

#ifndef QZ_VERSION
#define QZ_VERSION "0"
#endif

namespace cli {

namespace {

const QString kProgram = QStringLiteral("quizmora");

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and end.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the program's version and end.")};
    QCommandLineOption bank{QStringLiteral("bank"),
                            QStringLiteral("Use the item bank FILE instead of qz_data.mdb (created with the default "
                                           "items when missing). Alone, it opens the program's windows on it; with "
                                           "--export or --import, they work on it."),
                            QStringLiteral("FILE")};
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Check an item bank (FILE, or the one the program uses) and print each "
                                            "problem with the item's serial number. Exit status 0 when clean, 1 when "
                                            "not, 2 when the file cannot be read.")};
    QCommandLineOption exportTo{QStringLiteral("export"),
                                QStringLiteral("Write every item, by serial number, to FILE.tsv: tab-separated "
                                               "UTF-8 text with one header row, as a spreadsheet opens it."),
                                QStringLiteral("FILE.tsv")};
    QCommandLineOption importFrom{QStringLiteral("import"),
                                  QStringLiteral("Replace the bank's items with the rows of FILE.tsv (as written by "
                                                 "--export, or saved back by a spreadsheet). Every row is checked "
                                                 "first; any bad row refuses the whole file and changes nothing. The "
                                                 "previous bank is kept beside it as <bank>.bak. The failed items of "
                                                 "past tests are left as they are."),
                                  QStringLiteral("FILE.tsv")};
    // Qt's own window options pass through to the windows.
    std::vector<QCommandLineOption> qtWindowOptions;

    Options() {
        for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                 "qwindowtitle", "qwindowicon", "style", "stylesheet", "display", "geometry"}) {
            qtWindowOptions.emplace_back(QString::fromLatin1(name), QString(), QStringLiteral("value"));
            qtWindowOptions.back().setFlags(QCommandLineOption::HiddenFromHelp);
        }
        for (const char* name : {"reverse", "nograb", "dograb", "sync"}) {
            qtWindowOptions.emplace_back(QString::fromLatin1(name));
            qtWindowOptions.back().setFlags(QCommandLineOption::HiddenFromHelp);
        }
    }

    void addTo(QCommandLineParser& p) const {
        p.setApplicationDescription(QStringLiteral(
            "Quizmora Hungarian: a trainer of Hungarian grammar and vocabulary.\n"
            "Without options it opens its windows. The item bank is qz_data.mdb beside the program; when that "
            "folder cannot be written and holds no bank, it is qz_data.mdb in the user's data folder."));
        p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        p.addOption(help);
        p.addOption(version);
        p.addOption(bank);
        p.addOption(check);
        p.addOption(exportTo);
        p.addOption(importFrom);
        for (const auto& o : qtWindowOptions) p.addOption(o);
        p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("With --check: the item bank to check."),
                                QStringLiteral("[FILE]"));
    }
};

// What the command line asks for, once read.
struct Request {
    enum Kind { Windows, Help, Version, Check, Export, Import, Mistake } kind = Windows;
    QString bank;   // --bank, or the file after --check
    QString file;   // the file of --export / --import
    QString error;  // for a mistake
};

Request read(QCommandLineParser& p, const QStringList& arguments) {
    const Options o;
    o.addTo(p);
    Request r;
    auto mistake = [&](const QString& why) {
        r.kind = Request::Mistake;
        r.error = why;
        return r;
    };
    if (!p.parse(arguments)) return mistake(p.errorText());
    if (p.isSet(o.help)) {
        r.kind = Request::Help;
        return r;
    }
    if (p.isSet(o.version)) {
        r.kind = Request::Version;
        return r;
    }
    const int actions = int(p.isSet(o.check)) + int(p.isSet(o.exportTo)) + int(p.isSet(o.importFrom));
    if (actions > 1) return mistake(QStringLiteral("Give one of --check, --export and --import at a time."));
    for (const QCommandLineOption* once : {&o.bank, &o.exportTo, &o.importFrom})
        if (p.values(*once).size() > 1)
            return mistake(QStringLiteral("--%1 is given more than once.").arg(once->names().constLast()));
    r.bank = p.value(o.bank);
    const QStringList files = p.positionalArguments();
    if (p.isSet(o.check)) {
        r.kind = Request::Check;
        if (files.size() > 1) return mistake(QStringLiteral("--check takes one item bank."));
        if (files.size() == 1) {
            if (!r.bank.isEmpty()) return mistake(QStringLiteral("Name the bank to check either after --check or with --bank."));
            r.bank = files.first();
        }
        return r;
    }
    if (!files.isEmpty()) return mistake(QStringLiteral("Unexpected argument: %1").arg(files.first()));
    if (p.isSet(o.exportTo)) {
        r.kind = Request::Export;
        r.file = p.value(o.exportTo);
    } else if (p.isSet(o.importFrom)) {
        r.kind = Request::Import;
        r.file = p.value(o.importFrom);
    }
    if ((r.kind == Request::Export || r.kind == Request::Import) && r.file.isEmpty())
        return mistake(QStringLiteral("--%1 needs a file name.").arg(r.kind == Request::Export ? "export" : "import"));
    return r;
}

Request read(const QStringList& arguments) {
    QCommandLineParser p;
    return read(p, arguments);
}

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

// The bank a request works on: the one named, or the one the windows use.
QString bankOf(const Request& r) {
    if (!r.bank.isEmpty()) return QFileInfo(r.bank).absoluteFilePath();
    return qz_test::bankPath();
}

int check(const Request& r, QTextStream& out, QTextStream& err) {
    const QString bank = bankOf(r);
    itembank::BankCheck result;
    try {
        result = itembank::checkBank(bank);
    } catch (const qz::Error& e) {
        err << kProgram << ": " << e.message() << Qt::endl;
        return 2;
    }
    for (const QString& p : result.problems) out << p << '\n';
    if (result.problems.isEmpty())
        out << native(bank) << ": " << result.items << " items, no problems." << Qt::endl;
    else
        out << native(bank) << ": " << result.items << " items, " << result.problems.size()
            << (result.problems.size() == 1 ? " problem." : " problems.") << Qt::endl;
    return result.problems.isEmpty() ? 0 : 1;
}

int exportItems(const Request& r, QTextStream& out, QTextStream& err) {
    const QString bank = bankOf(r);
    try {
        const int n = itembank::exportBank(bank, r.file);
        out << "Exported " << n << " items from " << native(bank) << " to " << native(r.file) << '.' << Qt::endl;
        return 0;
    } catch (const qz::Error& e) {
        err << kProgram << ": " << e.message() << Qt::endl;
        return 2;
    }
}

int importItems(const Request& r, QTextStream& out, QTextStream& err) {
    const QString bank = bankOf(r);
    QFile f(r.file);
    if (!f.open(QIODevice::ReadOnly)) {
        err << kProgram << ": cannot read " << native(r.file) << ": " << f.errorString() << '.' << Qt::endl;
        return 2;
    }
    const itembank::ImportReading reading = itembank::readImport(f.readAll());
    if (!reading.problems.isEmpty()) {
        for (const QString& p : reading.problems) err << native(r.file) << ": " << p << '\n';
        err << "Nothing was imported: " << reading.problems.size()
            << (reading.problems.size() == 1 ? " problem in " : " problems in ") << native(r.file)
            << ". The item bank " << native(bank) << " is unchanged." << Qt::endl;
        return 1;
    }
    try {
        itembank::replaceItems(bank, reading.rows);
    } catch (const qz::Error& e) {
        err << kProgram << ": " << e.message() << Qt::endl;
        err << "Nothing was imported." << Qt::endl;
        return 2;
    }
    out << "Imported " << reading.rows.size() << " items from " << native(r.file) << " into " << native(bank)
        << ". The previous bank is kept as " << native(bank + QStringLiteral(".bak")) << '.' << Qt::endl;
    return 0;
}

}  // namespace

QStringList arguments(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
    return list;
}

bool wantsWindows(const QStringList& arguments) { return read(arguments).kind == Request::Windows; }

QString bankOption(const QStringList& arguments) { return read(arguments).bank; }

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser p;
    const Request r = read(p, arguments);
    switch (r.kind) {
    case Request::Help: out << p.helpText(); out.flush(); return 0;
    case Request::Version:
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    case Request::Check: return check(r, out, err);
    case Request::Export: return exportItems(r, out, err);
    case Request::Import: return importItems(r, out, err);
    case Request::Mistake:
        err << kProgram << ": " << r.error << '\n' << "Try " << kProgram << " --help." << Qt::endl;
        return 2;
    case Request::Windows: break;
    }
    err << kProgram << ": this command line opens the program's windows." << Qt::endl;
    return 2;
}

void setNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Quizmora Hungarian"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QZ_VERSION));
}

}  // namespace cli
