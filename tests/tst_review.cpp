// The failed-items review: Start past the placeholder row, the position line,
// the main Next with the end of the list and Restart, the navigation row and
// its ends, the solution, re-picking, and the deletion when the window goes.

#include <QTest>

#include "app/tasks.h"
#include "bankfixture.h"
#include "i18n/texts.h"
#include "review/hibatst.h"
#include "test/sptest.h"
#include "testkit.h"

using namespace qz_test;
using Kind = tk::ScriptedDialogs::Kind;

namespace {

// A bank whose hiba1 holds the placeholder row and n failed items
// ("Hiba 1" ... with guess "B" and right letter "C").
void makeBank(testkit::Session& s, int n) {
    DbPath = testkit::bankPath(s);
    itembank::createItemBank(DbPath, bankfixture::smallBank());
    auto rs = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"));
    for (int i = 1; i <= n; ++i) {
        rs->AddNew();
        rs->setField(QStringLiteral("hiba"), db::Value(QStringLiteral("B")));
        rs->setField(QStringLiteral("mondat"), db::Value(QStringLiteral("Hiba %1 & _____.").arg(i)));
        for (const char* f : {"a", "b", "c", "d"})
            rs->setField(QString::fromLatin1(f), db::Value(QStringLiteral("%1%2").arg(QLatin1String(f)).arg(i)));
        rs->setField(QStringLiteral("felelet1"), db::Value(QStringLiteral("Megoldás %1").arg(i)));
        rs->setField(QStringLiteral("felelet2"), db::Value(QStringLiteral("C")));
        rs->Update();
    }
}

long hibaRows() { return db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"))->RecordCount(); }

Hibatst& openReview(testkit::Session& s, int n, std::int16_t lang = 16) {
    makeBank(s, n);
    LangBase = lang;
    Hibatst& r = tk::form<Hibatst>();
    r.Show();
    return r;
}

}  // namespace

class TestReview : public QObject {
    Q_OBJECT

private slots:
    void load_captionsAndTitles();
    void start_next_endOfList_restart();
    void onlyThePlaceholderRow();
    void emptyTable_startEndsQuietlyAndCloseCloses();
    void navigationRow_stopsAtTheEnds();
    void solutionAndRepick();
    void keys_repickLowerCaseOnly();
    void close_deletesAllButThePlaceholder();
    void unload_deletesOnlyWhatStartRead();
};

void TestReview::load_captionsAndTitles() {
    testkit::Session s;
    Hibatst& r = openReview(s, 1, 116);
    QCOMPARE(r.Caption(), QStringLiteral("Quizmora Hungarian  ----  Hibás feleletek"));
    QCOMPARE(r.MsgTitle, i18n::text(66, 116));
    QCOMPARE(r.Label21.Caption(), i18n::text(67, 116));
    QVERIFY(r.Command1.Visible() && r.Command6.Visible());
    QVERIFY(!r.Command2.Visible() && !r.Command4.Visible() && !r.Frame3D1.Visible() && !r.Label30.Visible());
    QCOMPARE(r.Label17.BackColor(), tk::RGB(0, 255, 0));
    QCOMPARE(r.Label18.BackColor(), tk::RGB(255, 0, 0));
    QCOMPARE(r.Option3D2.widget()->accessibleName(), QStringLiteral("B"));
    r.Unload();
    LangBase = 216;
    r.Show();
    QCOMPARE(r.Caption(), QStringLiteral("Quizmora Hungarian  ----  Soluciones erróneas"));
    QCOMPARE(r.MsgTitle, i18n::text(66, 216));
    QCOMPARE(r.Command7.Caption(), i18n::text(10, 216));
}

void TestReview::start_next_endOfList_restart() {
    testkit::Session s;
    Hibatst& r = openReview(s, 3);
    ShownNo = 17;
    r.Command1.click();
    QVERIFY(!r.Command1.Visible());
    QVERIFY(r.Command2.Visible() && r.Command2.Default());
    QVERIFY(r.Command4.Visible() && r.Command8.Visible() && r.Frame3D1.Visible());
    QCOMPARE(r.Label30.Caption(), QStringLiteral("1"));
    QCOMPARE(r.Label31.Caption(), QStringLiteral("3"));
    QCOMPARE(r.Label22.Caption(), QStringLiteral("1"));
    QCOMPARE(r.RecCount, 4L);
    QCOMPARE(r.Label13.Caption(), QStringLiteral("Hiba 1 & _____."));  // as stored
    QCOMPARE(r.Label23.Caption(), QStringLiteral("B"));
    r.Command4.click();
    r.Command4.click();
    QCOMPARE(r.Label30.Caption(), QStringLiteral("3"));
    QCOMPARE(r.Label22.Caption(), QStringLiteral("3"));
    QVERIFY(s.dialogs.calls().empty());
    r.Command4.click();
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    const auto box = s.dialogs.callsOf(Kind::MsgBox).front();
    QCOMPARE(box.prompt, QStringLiteral("You have reached the last item."));
    QCOMPARE(box.style, int(tk::vbInformation));
    QCOMPARE(box.title, i18n::text(66, 16));
    QVERIFY(r.Command1.Visible() && r.Command6.Visible());
    QCOMPARE(r.Command1.Caption(), QStringLiteral("Re&start"));
    QVERIFY(!r.Command2.Default());
    for (tk::Control* c : std::initializer_list<tk::Control*>{&r.Command2, &r.Command3, &r.Command4, &r.Command5,
                                                            &r.Command7, &r.Command8, &r.Frame3D1, &r.Label13,
                                                            &r.Label21, &r.Label23, &r.Label22, &r.Label1})
        QVERIFY2(!c->Visible(), qPrintable(c->Name()));
    QVERIFY(r.Label30.Visible());
    QCOMPARE(r.Label30.Caption(), QStringLiteral("-1"));

    r.Command1.click();  // Restart
    QCOMPARE(r.Label30.Caption(), QStringLiteral("1"));
    QCOMPARE(r.Label22.Caption(), QStringLiteral("1"));
    QVERIFY(r.Label13.Visible() && r.Command4.Visible());
}

void TestReview::onlyThePlaceholderRow() {
    testkit::Session s;
    Hibatst& r = openReview(s, 0);
    r.Command1.click();
    QCOMPARE(r.Label31.Caption(), QStringLiteral("0"));
    QCOMPARE(r.Label30.Caption(), QStringLiteral("-1"));
    QVERIFY(r.Label13.Caption().isEmpty());  // no row: nothing shown
    // The navigation row has nowhere to go.
    r.Command2.click();
    r.Command3.click();
    r.Command5.click();
    r.Command7.click();
    QCOMPARE(r.Label30.Caption(), QStringLiteral("-1"));
    QVERIFY(s.dialogs.calls().empty());
    r.Command4.click();
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    QVERIFY(r.Command1.Visible());
    r.Command6.click();
    QVERIFY(!r.Loaded());
    QCOMPARE(hibaRows(), 1L);
}

void TestReview::emptyTable_startEndsQuietlyAndCloseCloses() {
    testkit::Session s;
    makeBank(s, 0);
    bankfixture::execSql(DbPath, "DELETE FROM hiba1");
    LangBase = 16;
    Hibatst& r = tk::form<Hibatst>();
    r.Show();
    r.Command1.click();
    QVERIFY(s.dialogs.calls().empty());
    r.Command4.click();  // at the end at once
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    r.Command6.click();
    QVERIFY(!r.Loaded());
    QCOMPARE(hibaRows(), 0L);
}

void TestReview::navigationRow_stopsAtTheEnds() {
    testkit::Session s;
    Hibatst& r = openReview(s, 4);
    r.Command1.click();
    r.Command3.click();  // Previous at the first failed item: stays
    QCOMPARE(r.Label30.Caption(), QStringLiteral("1"));
    QCOMPARE(r.Label13.Caption(), QStringLiteral("Hiba 1 & _____."));
    r.Command7.click();  // Last
    QCOMPARE(r.Label30.Caption(), QStringLiteral("4"));
    r.Command5.click();  // the second Next at the last: stays, no message
    QCOMPARE(r.Label30.Caption(), QStringLiteral("4"));
    QVERIFY(s.dialogs.calls().empty());
    r.Command3.click();
    QCOMPARE(r.Label30.Caption(), QStringLiteral("3"));
    r.Command2.click();  // First
    QCOMPARE(r.Label30.Caption(), QStringLiteral("1"));
    r.Command5.click();
    QCOMPARE(r.Label30.Caption(), QStringLiteral("2"));
    QCOMPARE(r.Label13.Caption(), QStringLiteral("Hiba 2 & _____."));
    QCOMPARE(r.Label22.Caption(), QStringLiteral("1"));  // only the main Next counts
}

void TestReview::solutionAndRepick() {
    testkit::Session s;
    Hibatst& r = openReview(s, 3);
    r.Command1.click();
    r.Option3D3.setValue(true);  // the right letter
    QCOMPARE(r.Label9.Caption(), QStringLiteral("C"));
    QVERIFY(r.Label17.Visible() && !r.Label18.Visible());
    r.Option3D1.setValue(true);
    QVERIFY(!r.Label17.Visible() && r.Label18.Visible());
    r.Command8.click();
    QVERIFY(r.Label19.Visible() && r.Label20.Visible());
    QCOMPARE(r.Label19.Caption(), QStringLiteral("C"));
    QCOMPARE(r.Label20.Caption(), QStringLiteral("Megoldás 1"));
    r.Command5.click();  // the navigation row: feedback goes, the solution stays
    QVERIFY(!r.Label17.Visible() && !r.Label18.Visible());
    QVERIFY(r.Label19.Visible() && r.Label20.Visible());
    QCOMPARE(r.Label20.Caption(), QStringLiteral("Megoldás 2"));
    QVERIFY(!r.Option3D1.Value());
    r.Option3D2.setValue(true);
    QVERIFY(r.Label18.Visible());
    r.Command4.click();  // the main Next hides both
    QVERIFY(!r.Label17.Visible() && !r.Label18.Visible() && !r.Label19.Visible() && !r.Label20.Visible());
    QCOMPARE(hibaRows(), 4L);  // a re-pick is not stored
}

void TestReview::keys_repickLowerCaseOnly() {
    testkit::Session s;
    Hibatst& r = openReview(s, 2);
    testkit::typeChar(r.window(), 'c');  // before Start: no item, nothing happens
    QVERIFY(!r.Label17.Visible());
    r.Command1.click();
    testkit::typeChar(r.window(), 'c');
    QVERIFY(r.Option3D3.Value());
    QVERIFY(r.Label17.Visible());
    testkit::typeChar(r.window(), 'A');
    QVERIFY(r.Option3D3.Value());
    testkit::typeChar(r.window(), 'd');
    QVERIFY(r.Label18.Visible() && !r.Label17.Visible());
}

void TestReview::close_deletesAllButThePlaceholder() {
    testkit::Session s;
    Hibatst& r = openReview(s, 5);
    r.Command1.click();
    r.Command4.click();
    r.Command6.click();
    QVERIFY(!r.Loaded());
    QCOMPARE(hibaRows(), 1L);
    auto rs = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"));
    QCOMPARE(rs->field(QStringLiteral("mondat")).toString(), QString());  // the placeholder row itself

    // A later review shows only what failed after that.
    r.Show();
    r.Command1.click();
    QCOMPARE(r.Label31.Caption(), QStringLiteral("0"));
    QCOMPARE(r.Command1.Caption(), QStringLiteral("&Start"));
}

void TestReview::unload_deletesOnlyWhatStartRead() {
    testkit::Session s;
    Hibatst& r = openReview(s, 2);
    // Loaded and shown but never started: the learner has seen nothing.
    r.Unload();
    QCOMPARE(hibaRows(), 3L);

    r.Show();
    r.Command1.click();
    QCOMPARE(r.Label31.Caption(), QStringLiteral("2"));
    // A test appends a failed item while the review stands open.
    {
        auto rs = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"));
        rs->AddNew();
        rs->setField(QStringLiteral("mondat"), db::Value(QStringLiteral("Later")));
        rs->Update();
    }
    tasks::unload(tasks::Review);  // as the test window's Close does
    QVERIFY(!r.Loaded());
    auto rs = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"));
    QCOMPARE(rs->RecordCount(), 2L);
    rs->MoveLast();
    QCOMPARE(rs->field(QStringLiteral("mondat")).toString(), QStringLiteral("Later"));

    // The next review shows it; its Close deletes it.
    r.Show();
    r.Command1.click();
    QCOMPARE(r.Label13.Caption(), QStringLiteral("Later"));
    r.Command6.click();
    QCOMPARE(hibaRows(), 1L);
}

QTEST_MAIN(TestReview)
#include "tst_review.moc"
