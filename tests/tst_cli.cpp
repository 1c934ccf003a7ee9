// The command line and where the item bank lives: what each option answers
// and its exit status, the options run without a display, the bank beside
// the program or in the user's data folder, --bank, and the launcher's
// messages naming the place.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include "app/cli.h"
#include "app/quizsp.h"
#include "bankfixture.h"
#include "itembank/exchange.h"
#include "practice/spgyak.h"
#include "testkit.h"

using namespace qz_test;
using bankfixture::readAll;

namespace {

struct Outcome {
    int status;
    QString out, err;
};

Outcome run(QStringList args) {
    args.prepend(QStringLiteral("quizmora"));
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = cli::run(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

void makeReadOnly(const QString& folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::ExeOther);
}

void makeWritable(const QString& folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowsOnlyWithoutOptionsOrWithBank();
    void helpVersionAndMistakes();
    void check_statusesAndOutput();
    void exportImport_throughTheCommandLine();
    void options_runWithoutADisplay();
    void bankPlace_besideTheProgramOrInTheDataFolder();
    void launcher_usesAndNamesThePlace();

private:
    QTemporaryDir dataHome;
};

void TestCli::initTestCase() {
    // The user's data folder of these tests.
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QCoreApplication::setApplicationName(QStringLiteral("Quizmora Hungarian"));
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8"));
}

void TestCli::windowsOnlyWithoutOptionsOrWithBank() {
    auto windows = [](const QStringList& a) { return cli::wantsWindows(QStringList{QStringLiteral("quizmora")} + a); };
    QVERIFY(windows({}));
    QVERIFY(windows({QStringLiteral("--bank"), QStringLiteral("class2.mdb")}));
    QVERIFY(windows({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--bank=b.mdb")}));
    for (const QStringList& a : {QStringList{QStringLiteral("--help")}, {QStringLiteral("-h")}, {QStringLiteral("-v")},
                                 {QStringLiteral("--version")}, {QStringLiteral("--check")},
                                 {QStringLiteral("--check"), QStringLiteral("x.mdb")},
                                 {QStringLiteral("--bank"), QStringLiteral("b.mdb"), QStringLiteral("--export"), QStringLiteral("o.tsv")},
                                 {QStringLiteral("--import"), QStringLiteral("i.tsv")}, {QStringLiteral("--frobnicate")},
                                 {QStringLiteral("stray.mdb")}, {QStringLiteral("--bank")}})
        QVERIFY2(!windows(a), qPrintable(a.join(' ')));
    QCOMPARE(cli::bankOption({QStringLiteral("quizmora"), QStringLiteral("--bank"), QStringLiteral("b.mdb")}),
             QStringLiteral("b.mdb"));
    QCOMPARE(cli::bankOption({QStringLiteral("quizmora")}), QString());
}

void TestCli::helpVersionAndMistakes() {
    const Outcome help = run({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    for (const char* option : {"--help", "--version", "--bank <FILE>", "--check", "--export <FILE.tsv>", "--import <FILE.tsv>"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
    QVERIFY(!help.out.contains(QLatin1String("platform")));  // Qt's own options pass unseen
    QVERIFY(help.err.isEmpty());

    const Outcome version = run({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("Quizmora Hungarian 9.8\n"));

    const QList<QPair<QStringList, QString>> mistakes{
        {{QStringLiteral("--frobnicate")}, QStringLiteral("Unknown option 'frobnicate'")},
        {{QStringLiteral("--export"), QStringLiteral("a.tsv"), QStringLiteral("--import"), QStringLiteral("b.tsv")},
         QStringLiteral("one of --check, --export and --import")},
        {{QStringLiteral("--check"), QStringLiteral("a.mdb"), QStringLiteral("--bank"), QStringLiteral("b.mdb")},
         QStringLiteral("either after --check or with --bank")},
        {{QStringLiteral("--check"), QStringLiteral("a.mdb"), QStringLiteral("b.mdb")}, QStringLiteral("one item bank")},
        {{QStringLiteral("--export"), QStringLiteral("a.tsv"), QStringLiteral("extra")}, QStringLiteral("Unexpected argument: extra")},
        {{QStringLiteral("--export"), QStringLiteral("")}, QStringLiteral("--export needs a file name")},
    };
    for (const auto& [args, words] : mistakes) {
        const Outcome o = run(args);
        QCOMPARE(o.status, 2);
        QVERIFY2(o.err.contains(words) && o.err.contains(QLatin1String("--help")), qPrintable(o.err));
        QVERIFY(o.out.isEmpty());
    }
}

void TestCli::check_statusesAndOutput() {
    bankfixture::TempBank clean(itembank::defaultItems());
    const Outcome ok = run({QStringLiteral("--check"), clean.path()});
    QCOMPARE(ok.status, 0);
    QCOMPARE(ok.out, QDir::toNativeSeparators(clean.path()) + QStringLiteral(": 550 items, no problems.\n"));

    bankfixture::TempBank faulty(itembank::defaultItems());
    bankfixture::execSql(faulty.path(), "UPDATE test1 SET mondat = 'Nincs hely.' WHERE sorszam = 12;"
                                        "UPDATE test1 SET sorrend2 = 0 WHERE sorszam = 99");
    const Outcome bad = run({QStringLiteral("--bank"), faulty.path(), QStringLiteral("--check")});
    QCOMPARE(bad.status, 1);
    QVERIFY2(bad.out.contains(QStringLiteral("item 12: the sentence has not exactly one gap\n")), qPrintable(bad.out));
    QVERIFY(bad.out.contains(QStringLiteral("item 99: the order key")));
    QVERIFY(bad.out.endsWith(QStringLiteral(": 550 items, 3 problems.\n")) ||
            bad.out.endsWith(QStringLiteral(": 550 items, 2 problems.\n")));

    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(bankfixture::writeFile(notes, "not a bank"));
    for (const QString& unreadable : {notes, dir.filePath(QStringLiteral("missing.mdb"))}) {
        const Outcome o = run({QStringLiteral("--check"), unreadable});
        QCOMPARE(o.status, 2);
        QVERIFY2(o.err.contains(QDir::toNativeSeparators(unreadable)), qPrintable(o.err));
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing.mdb"))));
    QCOMPARE(readAll(notes), QByteArray("not a bank"));
}

void TestCli::exportImport_throughTheCommandLine() {
    bankfixture::TempBank bank(itembank::defaultItems());
    QTemporaryDir dir;
    const QString tsv = dir.filePath(QStringLiteral("items.tsv"));
    const Outcome ex = run({QStringLiteral("--bank"), bank.path(), QStringLiteral("--export"), tsv});
    QCOMPARE(ex.status, 0);
    QCOMPARE(ex.out, QStringLiteral("Exported 550 items from %1 to %2.\n")
                         .arg(QDir::toNativeSeparators(bank.path()), QDir::toNativeSeparators(tsv)));

    // A file with one bad row: refused, the row named, nothing changed.
    QByteArray edited = readAll(tsv);
    edited.replace("\n7\t", "\nhét\t");
    const QString bad = dir.filePath(QStringLiteral("bad.tsv"));
    QFile b(bad);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write(edited);
    b.close();
    const QByteArray before = readAll(bank.path());
    const Outcome refused = run({QStringLiteral("--bank"), bank.path(), QStringLiteral("--import"), bad});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("bad.tsv: line 8, sorszam: \"hét\" is not a whole number\n")),
             qPrintable(refused.err));
    QVERIFY(refused.err.contains(QStringLiteral("Nothing was imported: 1 problem in")));
    QVERIFY(refused.err.contains(QStringLiteral("is unchanged.")));
    QCOMPARE(readAll(bank.path()), before);

    const Outcome imported = run({QStringLiteral("--bank"), bank.path(), QStringLiteral("--import"), tsv});
    QCOMPARE(imported.status, 0);
    QCOMPARE(imported.out, QStringLiteral("Imported 550 items from %1 into %2. The previous bank is kept as %2.bak.\n")
                               .arg(QDir::toNativeSeparators(tsv), QDir::toNativeSeparators(bank.path())));
    QVERIFY(QFile::exists(bank.path() + QStringLiteral(".bak")));

    const Outcome missing = run({QStringLiteral("--bank"), bank.path(), QStringLiteral("--import"), dir.filePath(QStringLiteral("none.tsv"))});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.err.contains(QStringLiteral("cannot read")));

    QFile::setPermissions(bank.path(), QFile::ReadOwner);
    const Outcome readOnly = run({QStringLiteral("--bank"), bank.path(), QStringLiteral("--import"), tsv});
    QCOMPARE(readOnly.status, 2);
    QVERIFY2(readOnly.err.contains(QStringLiteral("cannot be written")), qPrintable(readOnly.err));
    QVERIFY(readOnly.err.contains(QStringLiteral("Nothing was imported.")));
}

void TestCli::options_runWithoutADisplay() {
    // The program itself, with no display to connect to: a window would fail.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    bankfixture::TempBank bank(itembank::defaultItems());
    QTemporaryDir dir;
    const QString tsv = dir.filePath(QStringLiteral("out.tsv"));
    const QList<QPair<QStringList, int>> runs{
        {{QStringLiteral("--version")}, 0},
        {{QStringLiteral("--help")}, 0},
        {{QStringLiteral("--check"), bank.path()}, 0},
        {{QStringLiteral("--bank"), bank.path(), QStringLiteral("--export"), tsv}, 0},
        {{QStringLiteral("--bank"), bank.path(), QStringLiteral("--import"), tsv}, 0},
        {{QStringLiteral("--nonsense")}, 2},
    };
    for (const auto& [args, status] : runs) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QZ_PROGRAM), args);
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == status,
                 qPrintable(args.join(' ') + QStringLiteral(": ") + err));
        QVERIFY2(!err.contains(QLatin1String("display")), qPrintable(err));
    }
    QCOMPARE(readAll(tsv), readAll(QStringLiteral(":/itembank.tsv")));
}

void TestCli::bankPlace_besideTheProgramOrInTheDataFolder() {
    QTemporaryDir program, data;
    const QString dataFolder = data.filePath(QStringLiteral("Quizmora Hungarian"));
    const QString beside = program.filePath(QStringLiteral("qz_data.mdb"));
    const QString inData = dataFolder + QStringLiteral("/qz_data.mdb");

    // A writable folder of its own: the bank beside the program, as always.
    QCOMPARE(chooseBankPath(program.path(), dataFolder), beside);
    QVERIFY(!QDir(dataFolder).exists());

    // A folder nobody may write, without a bank: the user's data folder.
    makeReadOnly(program.path());
    QCOMPARE(chooseBankPath(program.path(), dataFolder), inData);
    QVERIFY(QDir(dataFolder).exists());

    // A bank beside the program is always used first: a copy stays portable.
    makeWritable(program.path());
    itembank::createItemBank(beside, bankfixture::smallBank());
    makeReadOnly(program.path());
    QCOMPARE(chooseBankPath(program.path(), dataFolder), beside);
    makeWritable(program.path());

    // The one function the launcher asks: the program's folder here, the
    // bank named on the command line when there is one.
    testkit::Session s;
    QCOMPARE(bankPath(), AppDir() + QStringLiteral("qz_data.mdb"));
    makeReadOnly(s.folder.path());
    QCOMPARE(bankPath(), QDir(qz_test::dataFolder()).filePath(QStringLiteral("qz_data.mdb")));
    setBankFile(QStringLiteral("class2.mdb"));
    QCOMPARE(bankPath(), QDir::current().absoluteFilePath(QStringLiteral("class2.mdb")));
    resetGlobals();
    QCOMPARE(bankPath(), QDir(qz_test::dataFolder()).filePath(QStringLiteral("qz_data.mdb")));
    makeWritable(s.folder.path());
}

void TestCli::launcher_usesAndNamesThePlace() {
    {
        // From a read-only folder the launcher works on the bank in the data folder.
        testkit::Session s;
        makeReadOnly(s.folder.path());
        LangBase = 16;
        Quizsp& q = tk::form<Quizsp>();
        q.Show();
        QCOMPARE(DbPath, QDir(qz_test::dataFolder()).filePath(QStringLiteral("qz_data.mdb")));
        QVERIFY(q.Data1.isOpen());
        QCOMPARE(q.Data1.Recordset()->RecordCount(), 550L);
        QCOMPARE(s.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox), 0);
        q.ok.click();
        QVERIFY(tk::form<Spgyak>().Visible());
        makeWritable(s.folder.path());
        QFile::remove(DbPath);
    }
    {
        // A bank named on the command line that is not an item bank: the
        // message names it, and the file is left alone.
        testkit::Session s;
        const QString foreign = s.folder.filePath(QStringLiteral("class2.mdb"));
        QVERIFY(bankfixture::writeFile(foreign, "Not a bank."));
        setBankFile(foreign);
        LangBase = 16;
        Quizsp& q = tk::form<Quizsp>();
        q.Show();
        QCOMPARE(DbPath, foreign);
        q.ok_Click();
        const auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
        QVERIFY(!boxes.empty());
        for (const auto& box : boxes) QVERIFY2(box.prompt.contains(QDir::toNativeSeparators(foreign)), qPrintable(box.prompt));
        QCOMPARE(readAll(foreign), QByteArray("Not a bank."));
        QVERIFY(!QFile::exists(s.folder.filePath(QStringLiteral("qz_data.mdb"))));
    }
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
