// The launcher: its load state, the working-language menu, OK to each
// activity, END, the reorder, and an item bank that cannot be opened.

#include <QLabel>
#include <QTest>
#include <sys/stat.h>

#include "bankfixture.h"
#include "editor/form1.h"
#include "app/form3.h"
#include "app/quizsp.h"
#include "app/sobre.h"
#include "practice/spgyak.h"
#include "test/sptest.h"
#include "testkit.h"
#include "i18n/texts.h"

using namespace qz_test;
using bankfixture::orderKeys;
using testkit::bankPath;

namespace {

// The values the reorder will draw, one per row, for the fixed seed.
std::vector<int> drawsFor(std::uint64_t seed, int rows) {
    tk::fixRandomSeed(seed);
    std::vector<int> out;
    for (int i = 0; i < rows; ++i) out.push_back(int(tk::Rnd() * 3000.0f) + 1);
    tk::fixRandomSeed(seed);
    return out;
}

}  // namespace

class TestLauncher : public QObject {
    Q_OBJECT

private slots:
    void load_designStateEveryTime();
    void workingLanguage_menu();
    void ok_opensTheChosenActivity();
    void end_endsAtOnce();
    void reorder_everyRowInRange();
    void reorder_refusedStoreNudgesTowardsTheMiddle();
    void reorder_emptyTable();
    void reorder_readOnlyBankReportsAndStops();
    void reorder_lockedBankSaysInUseThenWorks();
    void badBanks_messageNamesTheCause_data();
    void badBanks_messageNamesTheCause();
    void unopenableBank_reportedAndOkStays();
};

void TestLauncher::load_designStateEveryTime() {
    testkit::Session s;
    LangBase = 116;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    QCOMPARE(DbPath, bankPath(s));
    QVERIFY(QFile::exists(DbPath));  // created with the default items
    QVERIFY(q.Data1.isOpen());
    QCOMPARE(q.Data1.Recordset()->RecordCount(), 550L);
    QVERIFY(q.practice.Value());
    QVERIFY(q.Topmost());
    QCOMPARE(q.MousePointer(), tk::vbDefault);
    QCOMPARE(q.Caption(), QStringLiteral("QUIZMORA HUNGARIAN"));
    QCOMPARE(q.Exi.Caption(), QStringLiteral("KILÉ&P"));
    QCOMPARE(q.ok.Caption(), QStringLiteral("&OK"));
    QCOMPARE(q.mnuhelp.Caption(), QStringLiteral("&Súgó"));
    QCOMPARE(q.change.Caption(), i18n::text(74, 116));
    QVERIFY(q.worklang(0).Checked());  // English, whatever the language
    QVERIFY(!q.worklang(1).Checked());
    QVERIFY(!q.worklang(2).Enabled());
    QCOMPARE(q.worklang(3).Caption(), QStringLiteral("E&spañol"));

    // A later load: practice again, English checked again, prompt again.
    q.test.setValue(true);
    q.worklang_Click(3);
    q.change.setCaption(QStringLiteral("The order of the sentences has been changed."));
    q.Unload();
    q.Show();
    QVERIFY(q.practice.Value());
    QVERIFY(q.worklang(0).Checked());
    QVERIFY(!q.worklang(3).Checked());
    QCOMPARE(q.change.Caption(), i18n::text(74, 216));
}

void TestLauncher::workingLanguage_menu() {
    testkit::Session s;
    LangBase = 16;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    sobre& about = tk::form<sobre>();
    about.Show();
    q.worklang(3).trigger();
    QCOMPARE(int(LangBase), 216);
    QVERIFY(q.worklang(3).Checked());
    QVERIFY(!q.worklang(0).Checked());
    QCOMPARE(q.ok.Caption(), QStringLiteral("&ACEPTAR"));
    QCOMPARE(q.activities.Caption(), QStringLiteral("Actividades:"));
    QCOMPARE(about.Caption(), QStringLiteral("About"));  // an open window keeps its captions
    q.worklang(1).trigger();
    QCOMPARE(int(LangBase), 116);
    QVERIFY(q.worklang(1).Checked() && !q.worklang(3).Checked());
    q.worklang(2).trigger();  // Français cannot be chosen
    QCOMPARE(int(LangBase), 116);
    QVERIFY(q.worklang(1).Checked());
}

void TestLauncher::ok_opensTheChosenActivity() {
    testkit::Session s;
    LangBase = 116;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    q.ok.click();
    QVERIFY(tk::form<Spgyak>().Visible());
    QVERIFY(!q.Loaded());
    QCOMPARE(tk::form<Spgyak>().Caption(), QStringLiteral("Quizmora Hungarian  ----  Gyakorlás"));

    tk::form<Spgyak>().Command6.click();  // back to the launcher
    QVERIFY(q.Visible());
    q.test.setValue(true);
    q.worklang_Click(3);
    testkit::typeKey(q.window(), Qt::Key_Return);  // Enter: the default button
    QVERIFY(tk::form<Sptest>().Visible());
    QCOMPARE(tk::form<Sptest>().Caption(), QStringLiteral("Quizmora Hungarian  ----  Test"));
    QCOMPARE(tk::form<Sptest>().MsgTitle, QStringLiteral("Test"));

    tk::form<Sptest>().Command6.click();
    q.database.setValue(true);
    q.ok_Click();
    QVERIFY(tk::form<Form1>().Visible());
    QCOMPARE(tk::form<Form1>().MsgTitle, QStringLiteral("Base de datos"));
}

void TestLauncher::end_endsAtOnce() {
    testkit::Session s;
    LangBase = 16;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    tk::form<Form3>().Show();
    q.Exi.click();
    QVERIFY(tk::Runtime::instance().ended());
    QVERIFY(!q.Loaded());
    QVERIFY(!tk::form<Form3>().Loaded());
    QVERIFY(s.dialogs.calls().empty());  // no confirmation
}

void TestLauncher::reorder_everyRowInRange() {
    testkit::Session s;
    LangBase = 116;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    const std::vector<int> before = orderKeys(DbPath);
    const std::vector<int> draws = drawsFor(99, int(before.size()));
    QTest::mouseClick(q.change.widget(), Qt::LeftButton);
    QCOMPARE(q.change.Caption(), QStringLiteral("The order of the sentences has been changed."));  // English always
    QCOMPARE(q.MousePointer(), tk::vbDefault);
    const std::vector<int> after = orderKeys(DbPath);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after, draws);  // each row got the value drawn for it
    for (int v : after) QVERIFY(v >= 1 && v <= 3000);
    QVERIFY(after != before);
    // The view was read again: it stands on the first row.
    QCOMPARE(q.Data1.Recordset()->AbsolutePosition(), 0L);
    QVERIFY(s.dialogs.calls().empty());
}

void TestLauncher::reorder_refusedStoreNudgesTowardsTheMiddle() {
    testkit::Session s;
    // Find a seed whose first draw is low and second high, far apart.
    std::uint64_t seed = 1;
    std::vector<int> draws;
    for (;; ++seed) {
        draws = drawsFor(seed, 5);
        if (draws[0] < 1400 && draws[1] >= 1600 && draws[1] < 3000) break;
    }
    // A bank that keeps its order keys unique refuses a value another row
    // holds: rows 3 and 4 hold the first draw and the next value up, row 5
    // the second draw.
    bankfixture::TempBank source({bankfixture::item(1, "1", "0", 1, 1), bankfixture::item(2, "1", "0", 1, 2),
                                  bankfixture::item(3, "1", "0", 1, draws[0]),
                                  bankfixture::item(4, "1", "0", 1, draws[0] + 1),
                                  bankfixture::item(5, "1", "0", 1, draws[1])});
    QFile::copy(source.path(), bankPath(s));
    bankfixture::execSql(bankPath(s), "DROP INDEX sorrend; CREATE UNIQUE INDEX sorrend ON test1 (sorrend2);");
    drawsFor(seed, 5);
    LangBase = 16;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    q.change_Click();
    QVERIFY(s.dialogs.calls().empty());
    QCOMPARE(q.change.Caption(), QStringLiteral("The order of the sentences has been changed."));
    const std::vector<int> after = orderKeys(bankPath(s));
    QCOMPARE(after[0], draws[0] + 2);  // low draw: two steps up
    QCOMPARE(after[1], draws[1] - 1);  // high draw: one step down
    for (int v : after) QVERIFY(v >= 1 && v <= 3000);
}

void TestLauncher::reorder_emptyTable() {
    testkit::Session s;
    bankfixture::TempBank source(std::vector<itembank::Item>{});
    QFile::copy(source.path(), bankPath(s));
    LangBase = 16;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    q.change_Click();
    QCOMPARE(q.change.Caption(), QStringLiteral("The order of the sentences has been changed."));
    QVERIFY(s.dialogs.calls().empty());
}

void TestLauncher::reorder_readOnlyBankReportsAndStops() {
    testkit::Session s;
    bankfixture::TempBank source;
    QFile::copy(source.path(), bankPath(s));
    QFile::setPermissions(bankPath(s), QFile::ReadOwner | QFile::ReadGroup);
    const std::vector<int> before = orderKeys(bankPath(s));
    LangBase = 116;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    q.change_Click();
    const auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].style, int(tk::vbCritical));
    QVERIFY(boxes[0].prompt.startsWith(QStringLiteral("A mondatok sorrendjét nem lehetett megváltoztatni")));
    QVERIFY(boxes[0].prompt.contains(bankPath(s)));
    QCOMPARE(q.change.Caption(), i18n::text(74, 116));  // no done message
    QCOMPARE(q.MousePointer(), tk::vbDefault);
    QCOMPARE(orderKeys(bankPath(s)), before);
    QFile::setPermissions(bankPath(s), QFile::ReadOwner | QFile::WriteOwner);
}

void TestLauncher::reorder_lockedBankSaysInUseThenWorks() {
    testkit::Session s;
    LangBase = 216;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    const std::vector<int> before = orderKeys(DbPath);
    sqlite3* other = nullptr;
    sqlite3_open(DbPath.toUtf8().constData(), &other);
    sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    q.change_Click();
    auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QVERIFY2(boxes[0].prompt.contains(QStringLiteral("No se ha cambiado nada")), qPrintable(boxes[0].prompt));
    QVERIFY2(boxes[0].prompt.contains(QStringLiteral("Otro programa está usando la base de datos ") + DbPath),
             qPrintable(boxes[0].prompt));
    QVERIFY(!boxes[0].prompt.contains(QStringLiteral("solo lectura")));
    QCOMPARE(q.change.Caption(), i18n::text(74, 216));
    QCOMPARE(q.Data1.Recordset()->RecordCount(), 550L);  // the view is still whole
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(orderKeys(DbPath), before);
    // The lock gone, the next click changes the order and says so.
    const std::vector<int> draws = drawsFor(7, 550);
    q.change_Click();
    QCOMPARE(s.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox), 1);
    QCOMPARE(q.change.Caption(), QStringLiteral("The order of the sentences has been changed."));
    QCOMPARE(orderKeys(DbPath), draws);
}

void TestLauncher::badBanks_messageNamesTheCause_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("lang");
    QTest::addColumn<QString>("cause");
    QTest::newRow("trigger, en") << "trigger" << 16 << "is not an item bank of this program";
    QTest::newRow("damaged, hu") << "damaged" << 116 << "adatbázis megsérült";
    QTest::newRow("pipe, es") << "pipe" << 216 << "no es un archivo normal";
}

void TestLauncher::badBanks_messageNamesTheCause() {
    QFETCH(QString, kind);
    QFETCH(int, lang);
    QFETCH(QString, cause);
    testkit::Session s;
    const QString path = bankPath(s);
    if (kind == QLatin1String("trigger")) {
        bankfixture::TempBank source;
        QFile::copy(source.path(), path);
        bankfixture::execSql(path, "CREATE TRIGGER t AFTER UPDATE ON test1 BEGIN DELETE FROM test1; END;");
    } else if (kind == QLatin1String("damaged")) {
        db::DBEngine::OpenDatabase(path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(3 * 4096);
        f.write(QByteArray(4 * 4096, '\x33'));
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    }
    QFile before(path);
    const QByteArray content = kind == QLatin1String("pipe") || !before.open(QIODevice::ReadOnly) ? QByteArray() : before.readAll();
    LangBase = std::int16_t(lang);
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    const auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QVERIFY2(boxes[0].prompt.contains(cause), qPrintable(boxes[0].prompt));
    QVERIFY2(boxes[0].prompt.contains(path), qPrintable(boxes[0].prompt));
    if (!content.isEmpty()) {
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), content);
    }
}

void TestLauncher::unopenableBank_reportedAndOkStays() {
    testkit::Session s;
    {
        QVERIFY(bankfixture::writeFile(bankPath(s), "Not an item bank at all."));
    }
    LangBase = 216;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    QVERIFY(q.Loaded());
    auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].style, int(tk::vbCritical));
    QVERIFY(boxes[0].prompt.startsWith(QStringLiteral("No se puede abrir la base de datos.")));
    QVERIFY(boxes[0].prompt.contains(bankPath(s)));
    // OK says it again and stays; Help and END still work.
    q.ok_Click();
    QVERIFY(q.Visible());
    QVERIFY(!tk::Runtime::instance().existing<Spgyak>());
    QCOMPARE(s.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox), 2);
    q.change_Click();
    QCOMPARE(s.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox), 3);
    q.mnuhow.trigger();
    QVERIFY(tk::form<Form3>().Visible());
    // The file is as it was.
    QFile f(bankPath(s));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("Not an item bank at all."));
    q.Exi.click();
    QVERIFY(tk::Runtime::instance().ended());
}

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
