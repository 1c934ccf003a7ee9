// The test window: settings, the three modes, scoring and the score, the
// failed items written to hiba1 (exactly once each, as shown), task
// switching, and a bank that cannot be opened or written.

#include <QTest>

#include "app/quizsp.h"
#include "app/tasks.h"
#include "bankfixture.h"
#include "i18n/texts.h"
#include "review/hibatst.h"
#include "test/sptest.h"
#include "testkit.h"

using namespace qz_test;
using Kind = tk::ScriptedDialogs::Kind;

namespace {

// n items; the right letter cycles A, B, C, D; order keys 1..n.
std::vector<itembank::Item> bank(int n) {
    std::vector<itembank::Item> items;
    const char* letters[] = {"A", "B", "C", "D"};
    for (int i = 1; i <= n; ++i) items.push_back(bankfixture::item(i, "1", "0", 1, i, letters[i % 4]));
    return items;
}

struct FailedRow {
    QString hiba, mondat, a, b, c, d, felelet1, felelet2;
};

// The failed rows after the placeholder row, in table order.
std::vector<FailedRow> failedRows() {
    auto rs = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"));
    std::vector<FailedRow> rows;
    if (rs->isEOF()) return rows;
    for (rs->MoveNext(); !rs->isEOF(); rs->MoveNext()) {
        auto f = [&](const char* name) { return rs->field(QString::fromLatin1(name)).toString(); };
        rows.push_back({f("hiba"), f("mondat"), f("a"), f("b"), f("c"), f("d"), f("felelet1"), f("felelet2")});
    }
    return rows;
}

long hibaRowCount() {
    return db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"))->RecordCount();
}

// A test window over a fresh bank of n items in the session's folder.
Sptest& openTest(testkit::Session& s, int n, std::int16_t lang = 16) {
    DbPath = testkit::bankPath(s);
    itembank::createItemBank(DbPath, bank(n));
    LangBase = lang;
    Sptest& t = tk::form<Sptest>();
    t.Show();
    return t;
}

// The same window started from the first starting point.
Sptest& startTest(testkit::Session& s, int n) {
    Sptest& t = openTest(s, n);
    t.beg(0).trigger();
    t.Command3.click();
    return t;
}

// A 20-item test over 30 items, started from the first starting point.
Sptest& startTwenty(testkit::Session& s) {
    Sptest& t = openTest(s, 30);
    t.mnuNumeroItem(0).trigger();
    t.beg(0).trigger();
    t.Command3.click();
    return t;
}

tk::OptionButton& optionFor(Sptest& t, const QString& letter) {
    tk::OptionButton* o[] = {&t.Option3D1, &t.Option3D2, &t.Option3D3, &t.Option3D4};
    return *o[letter.at(0).unicode() - 'A'];
}

// Picks the right letter of the shown item, or a wrong one.
void pick(Sptest& t, bool right) {
    const QString answer = t.Label10.Caption();
    const QString wrong = answer == QStringLiteral("A") ? QStringLiteral("B") : QStringLiteral("A");
    optionFor(t, right ? answer : wrong).setValue(true);
}

struct Shown {
    QString pick, mondat, a, b, c, d, felelet2;
};
Shown shown(Sptest& t) {
    return {t.Label9.Caption(),  t.Label13.Caption(), t.Label14.Caption(), t.Label12.Caption(),
            t.Label15.Caption(), t.Label16.Caption(), t.Label10.Caption()};
}

void compareRow(const FailedRow& row, const Shown& s) {
    QCOMPARE(row.hiba, s.pick);
    QCOMPARE(row.mondat, s.mondat);
    QCOMPARE(row.a, s.a);
    QCOMPARE(row.b, s.b);
    QCOMPARE(row.c, s.c);
    QCOMPARE(row.d, s.d);
    QCOMPARE(row.felelet2, s.felelet2);
}

}  // namespace

class TestTestWindow : public QObject {
    Q_OBJECT

private slots:
    void load_designStateAndSettings();
    void load_captionsInEachLanguage();
    void settings_lockedDuringARun();
    void sequential_17of20_recordsTheFailedItemsAsShown();
    void sequential_perfectRun_noLinkNoRow();
    void sequential_startingPointAndEndOfTheView();
    void score_roundsHalfToEven();
    void unlimited_399of400_isHundredWithOneRow();
    void timed_ticksScoreThePickOrZero();
    void random_drawnItemsCarryTheLeadingBlank();
    void random_impossibleDrawEndsTheEventWithoutScoringTwice();
    void evaluation_scoresTheShownItemOnce();
    void keys_pickLowerCaseOnly();
    void twoRunsThenOneReview();
    void reopening_keepsFailedItemsAndStartChosen();
    void reviewLoadedHidden_showsItemsAppendedLater();
    void close_unloadsReviewAndShowsLauncher();
    void link_handsTheTopOverToTheReview();
    void unopenableBank_backToTheLauncher();
    void failedWrite_keepsNothingAndRetriesOnce();
};

void TestTestWindow::load_designStateAndSettings() {
    testkit::Session s;
    SentenceCount = 30;  // set by the practice window
    Sptest& t = openTest(s, 10);
    QVERIFY(t.Topmost());
    QVERIFY(t.Data1.isOpen() && t.Data2.isOpen());
    QVERIFY(t.Command3.Visible() && t.Command6.Visible());
    QVERIFY(!t.Command2.Visible() && !t.Command4.Visible() && !t.Command5.Visible());
    QVERIFY(!t.Frame3D1.Visible() && !t.Frame3D2.Visible() && !t.Label17.Visible());
    QVERIFY(!t.mnuTest.Enabled());
    QVERIFY(t.beg(6).Visible() && !t.beg(7).Visible() && !t.beg(10).Enabled());
    QCOMPARE(t.beg(3).Caption(), QStringLiteral("&151"));
    // A number set elsewhere is in force and shown.
    QVERIFY(t.Label25.Visible());
    QCOMPARE(t.Label25.Caption(), QStringLiteral("30"));
    QVERIFY(t.mnuNumeroItem(1).Checked());

    t.mnuNumeroItem(3).trigger();
    QCOMPARE(SentenceCount, 50);
    QVERIFY(t.mnuNumeroItem(3).Checked() && !t.mnuNumeroItem(1).Checked());
    QCOMPARE(t.Label25.Caption(), QStringLiteral("50"));
    t.mnuTiempoItem(1).trigger();
    QCOMPARE(DelayMs, 20000);
    QCOMPARE(t.Label23.Caption(), QStringLiteral("20 s"));
    QVERIFY(t.Label20.Visible() && t.Label23.Visible());
    QCOMPARE(t.Label20.Caption(), QStringLiteral("&Delay..."));
    QCOMPARE(t.mnuTiempoItem(2).Caption(), QStringLiteral("30sec"));
    QCOMPARE(t.Option3D3.widget()->accessibleName(), QStringLiteral("C"));
}

void TestTestWindow::load_captionsInEachLanguage() {
    testkit::Session s;
    Sptest& t = openTest(s, 10, 116);
    QCOMPARE(t.Caption(), QStringLiteral("Quizmora Hungarian  ----  Teszt"));
    QCOMPARE(t.Command3.Caption(), i18n::text(2, 116));
    QCOMPARE(t.Label17.Caption(), i18n::text(83, 116));
    t.mnuStart.widget();  // menus exist
    t.Unload();
    LangBase = 216;
    t.Show();
    QCOMPARE(t.MsgTitle, QStringLiteral("Test"));
    QCOMPARE(t.Command5.Caption(), i18n::text(11, 216));
    t.beg(0).trigger();
    t.Command3.click();
    QCOMPARE(t.Command3.Caption(), i18n::text(3, 216));
}

void TestTestWindow::settings_lockedDuringARun() {
    testkit::Session s;
    Sptest& t = openTest(s, 30);
    t.mnuNumeroItem(0).trigger();
    t.Command3.click();  // random: no starting point
    QVERIFY(t.running());
    QVERIFY(!t.mnuSettings.Enabled());
    QVERIFY(!t.mnuStart.Enabled());
    QVERIFY(t.Command4.Visible() && !t.Command5.Visible());
    t.mnuNumeroItem(1).trigger();  // refused while the run goes on
    QCOMPARE(SentenceCount, 20);
    for (int i = 0; i < 20; ++i) t.Command4.click();
    QVERIFY(!t.running());
    // The automatic end frees every setting, the Starting point menu included.
    QVERIFY(t.mnuSettings.Enabled() && t.mnuStart.Enabled());
    QVERIFY(!t.Command5.Visible());
    QCOMPARE(SentenceCount, 0);
    QVERIFY(!t.mnuNumeroItem(0).Checked());
    QVERIFY(!t.Label25.Visible() && t.Label25.Caption().isEmpty());
}

void TestTestWindow::sequential_17of20_recordsTheFailedItemsAsShown() {
    testkit::Session s;
    Sptest& t = openTest(s, 40);
    t.mnuNumeroItem(0).trigger();
    t.beg(0).trigger();
    QCOMPARE(t.StartChosen, 1);
    t.Command3.click();
    QVERIFY(t.Command2.Visible() && !t.Command4.Visible() && !t.Command5.Visible());
    QCOMPARE(t.Label22.Caption(), QStringLiteral("1"));
    std::vector<Shown> failed;
    for (int i = 1; i <= 20; ++i) {
        QCOMPARE(t.Label22.Caption(), QString::number(i));
        const bool right = i % 7 != 0 && i != 20;  // 7, 14 and 20 wrong
        if (i == 14) {
            // left without a pick
        } else {
            pick(t, right);
        }
        if (!right) failed.push_back(shown(t));
        s.dialogs.clear();
        t.Command2.click();
        QCOMPARE(t.Label9.Caption(), QStringLiteral("0"));
    }
    QCOMPARE(s.dialogs.count(Kind::Beep), 1);
    QCOMPARE(ItemNo, 20);
    QCOMPARE(RightCount, 17);
    QCOMPARE(t.Label18.Caption(), QStringLiteral("17/20"));
    QCOMPARE(t.Label21.Caption(), QStringLiteral("85%"));
    QCOMPARE(int(ScorePct), 85);
    QVERIFY(t.Frame3D2.Visible() && t.Label17.Visible() && t.Command3.Visible());
    QVERIFY(!t.Frame3D1.Visible() && !t.Command2.Visible() && !t.Label13.Visible());
    QCOMPARE(t.Command3.Caption(), QStringLiteral("Re&start"));
    QCOMPARE(SentenceCount, 0);
    QCOMPARE(DelayMs, 0);
    QCOMPARE(t.StartChosen, 0);

    const auto rows = failedRows();
    QCOMPARE(rows.size(), std::size_t(3));
    QCOMPARE(rows[1].hiba, QStringLiteral("0"));
    for (std::size_t k = 0; k < 3; ++k) {
        compareRow(rows[k], failed[k]);
        QVERIFY(!rows[k].mondat.startsWith(QLatin1Char(' ')));
        // The solution text belongs to the very item shown.
        const int sorszam = rows[k].mondat.section(QLatin1Char(' '), 1, 1).toInt();
        QCOMPARE(rows[k].felelet1, QStringLiteral("Megoldás %1").arg(sorszam));
    }
}

void TestTestWindow::sequential_perfectRun_noLinkNoRow() {
    testkit::Session s;
    Sptest& t = startTwenty(s);
    for (int i = 0; i < 20; ++i) {
        pick(t, true);
        t.Command2.click();
    }
    QCOMPARE(t.Label18.Caption(), QStringLiteral("20/20"));
    QCOMPARE(t.Label21.Caption(), QStringLiteral("100%"));
    QVERIFY(!t.Label17.Visible());
    QCOMPARE(hibaRowCount(), 1L);
}

void TestTestWindow::sequential_startingPointAndEndOfTheView() {
    testkit::Session s;
    // Order keys equal the serial numbers: "sorrend2 > 430" finds nothing in
    // 12 items; "sorrend2 > 0" finds the row after the first.
    Sptest& t = openTest(s, 12);
    t.beg(1).trigger();
    QCOMPARE(t.Data1.Recordset()->AbsolutePosition(), 0L);  // stays on the first row
    t.beg(0).trigger();
    QCOMPARE(t.StartCriteria, QStringLiteral("sorrend2 > 0"));
    QCOMPARE(t.Label13.Caption(), QStringLiteral("Mondat 2 _____."));
    t.mnuNumeroItem(0).trigger();
    t.Command3.click();
    QStringList seen;
    for (int i = 0; i < 20; ++i) {
        QVERIFY(!t.Label13.Caption().isEmpty());  // never an empty item
        seen << t.Label13.Caption();
        pick(t, false);
        t.Command2.click();
    }
    // From the last item straight on to the first.
    QCOMPARE(seen.at(10), QStringLiteral("Mondat 12 _____."));
    QCOMPARE(seen.at(11), QStringLiteral("Mondat 1 _____."));
    const auto rows = failedRows();
    QCOMPARE(rows.size(), std::size_t(20));
    for (int i = 0; i < 20; ++i) QCOMPARE(rows[std::size_t(i)].mondat, seen.at(i));
}

void TestTestWindow::score_roundsHalfToEven() {
    testkit::Session s;
    Sptest& t = openTest(s, 50);
    struct Case {
        int right;
        const char* pct;
    } cases[] = {{39, "98%"}, {37, "92%"}, {1, "2%"}, {0, "0%"}};
    for (const Case& c : cases) {
        t.mnuNumeroItem(2).trigger();
        t.beg(0).trigger();
        t.Command3.click();
        for (int i = 0; i < 40; ++i) {
            pick(t, i < c.right);
            t.Command2.click();
        }
        QCOMPARE(t.Label18.Caption(), QStringLiteral("%1/40").arg(c.right));
        QCOMPARE(t.Label21.Caption(), QString::fromLatin1(c.pct));
        QVERIFY(t.Label17.Visible());
    }
}

void TestTestWindow::unlimited_399of400_isHundredWithOneRow() {
    testkit::Session s;
    Sptest& t = startTest(s, 60);
    QVERIFY(t.Command5.Visible());  // no number of sentences: only Evaluation ends the run
    for (int i = 1; i < 400; ++i) {
        pick(t, i != 200);
        t.Command2.click();
    }
    QVERIFY(t.running());
    pick(t, true);
    t.Command5.click();
    QCOMPARE(t.Label18.Caption(), QStringLiteral("399/400"));
    QCOMPARE(t.Label21.Caption(), QStringLiteral("100%"));
    QVERIFY(!t.Label17.Visible());
    QVERIFY(!t.Command5.Visible());
    QCOMPARE(failedRows().size(), std::size_t(1));
}

void TestTestWindow::timed_ticksScoreThePickOrZero() {
    testkit::Session s;
    Sptest& t = openTest(s, 30);
    t.mnuNumeroItem(0).trigger();
    t.mnuTiempoItem(0).trigger();
    t.Command3.click();
    QVERIFY(t.Timer1.running());
    QCOMPARE(t.Timer1.Interval(), 10000);
    QVERIFY(!t.Command2.Visible() && !t.Command4.Visible());
    QCOMPARE(t.Label13.Caption(), QStringLiteral("Mondat 1 _____."));  // from the view's current row
    std::vector<Shown> failed;
    for (int i = 1; i <= 20; ++i) {
        if (i % 2 == 0) pick(t, true);
        else if (i == 5) pick(t, false);
        if (i % 2 != 0) failed.push_back(shown(t));
        s.dialogs.clear();
        t.Timer1.tick();
        QCOMPARE(s.dialogs.count(Kind::Beep), i == 20 ? 2 : 1);
    }
    QVERIFY(!t.Timer1.running());
    QCOMPARE(t.Label18.Caption(), QStringLiteral("10/20"));
    QCOMPARE(t.Label21.Caption(), QStringLiteral("50%"));
    const auto rows = failedRows();
    QCOMPARE(rows.size(), std::size_t(10));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        compareRow(rows[k], failed[k]);
        QCOMPARE(rows[k].hiba == QStringLiteral("0"), k != 2);  // only the fifth item had a pick
    }
    // A tick that arrives after the end scores nothing.
    t.Timer1.tick();
    QCOMPARE(failedRows().size(), std::size_t(10));
    QCOMPARE(DelayMs, 0);
    QVERIFY(!t.Label23.Visible());
}

void TestTestWindow::random_drawnItemsCarryTheLeadingBlank() {
    testkit::Session s;
    Sptest& t = openTest(s, 25);
    t.mnuNumeroItem(0).trigger();
    t.Command3.click();
    QVERIFY(t.Command4.Visible());
    QVERIFY(!t.mnuStart.Enabled() && !t.Label17.Visible());
    std::vector<Shown> failed;
    for (int i = 1; i <= 20; ++i) {
        QCOMPARE(t.Label22.Caption(), QString::number(i));
        QCOMPARE(t.Label13.Caption().startsWith(QLatin1Char(' ')), i > 1);
        QVERIFY(!t.Label10.Caption().startsWith(QLatin1Char(' ')));
        pick(t, i % 3 == 0);
        if (i % 3 != 0) failed.push_back(shown(t));
        t.Command4.click();
    }
    QCOMPARE(ShownNo, 1);  // random mode numbers by ItemNo
    QCOMPARE(ItemNo, 20);
    QVERIFY(t.mnuStart.Enabled());
    QVERIFY(t.MaxSorszam == 25);
    const auto rows = failedRows();
    QCOMPARE(rows.size(), failed.size());
    QVERIFY(!rows[0].mondat.startsWith(QLatin1Char(' ')));  // the bound first item
    for (std::size_t k = 0; k < rows.size(); ++k) {
        compareRow(rows[k], failed[k]);
        const int sorszam = rows[k].mondat.trimmed().section(QLatin1Char(' '), 1, 1).toInt();
        QCOMPARE(rows[k].felelet1, QStringLiteral("Megoldás %1").arg(sorszam));
        QVERIFY(!rows[k].hiba.startsWith(QLatin1Char(' ')) && !rows[k].felelet2.startsWith(QLatin1Char(' ')));
        if (k > 0) QVERIFY(rows[k].a.startsWith(QLatin1Char(' ')) && rows[k].d.startsWith(QLatin1Char(' ')));
    }

    // A Restart after an automatic end shows the bound row again, not the
    // last drawn item.
    t.Command3.click();
    QVERIFY(!t.Label13.Caption().startsWith(QLatin1Char(' ')));
    QCOMPARE(t.Label10.Caption(), t.Data1.Recordset()->field(QStringLiteral("felelet2")).toString());
}

void TestTestWindow::random_impossibleDrawEndsTheEventWithoutScoringTwice() {
    testkit::Session s;
    Sptest& t = openTest(s, 5);
    t.MaxSorszam = 5;  // read by an earlier draw
    t.Command3.click();
    // Behind the window's back every item gets a serial number above 5.
    bankfixture::execSql(DbPath, "UPDATE test1 SET sorszam = sorszam + 100");
    pick(t, false);
    t.Command4.click();  // scores the first item; the draw fails: the event ends
    QCOMPARE(ItemNo, 1);
    QCOMPARE(failedRows().size(), std::size_t(1));
    t.Command4.click();  // tried again: still no second row for the same item
    QCOMPARE(failedRows().size(), std::size_t(1));
    t.Command5.click();
    QCOMPARE(t.Label18.Caption(), QStringLiteral("0/1"));
    QCOMPARE(failedRows().size(), std::size_t(1));
}

void TestTestWindow::evaluation_scoresTheShownItemOnce() {
    testkit::Session s;
    Sptest& t = startTest(s, 10);
    pick(t, false);
    t.Command2.click();
    pick(t, true);
    const long before = t.Data1.Recordset()->AbsolutePosition();
    t.Command5.click();
    QCOMPARE(t.Label18.Caption(), QStringLiteral("1/2"));
    QCOMPARE(t.Label21.Caption(), QStringLiteral("50%"));
    QCOMPARE(t.Data1.Recordset()->AbsolutePosition(), before + 1);  // the view moved on
    QVERIFY(!t.Command5.Visible());
    t.Command5.click();  // hidden, and pressing it anyway scores nothing
    QCOMPARE(t.Label18.Caption(), QStringLiteral("1/2"));
    QCOMPARE(failedRows().size(), std::size_t(1));
}

void TestTestWindow::keys_pickLowerCaseOnly() {
    testkit::Session s;
    Sptest& t = startTest(s, 10);
    testkit::typeChar(t.window(), 'c');
    QCOMPARE(t.Label9.Caption(), QStringLiteral("C"));
    QVERIFY(t.Option3D3.Value());
    testkit::typeChar(t.window(), 'D');
    QCOMPARE(t.Label9.Caption(), QStringLiteral("C"));
    testkit::typeChar(t.window(), 'a');
    QCOMPARE(t.Label9.Caption(), QStringLiteral("A"));
}

void TestTestWindow::twoRunsThenOneReview() {
    testkit::Session s;
    Sptest& t = openTest(s, 30);
    std::vector<Shown> failed;
    for (int run = 0; run < 2; ++run) {
        t.mnuNumeroItem(0).trigger();
        t.beg(0).trigger();
        t.Command3.click();
        for (int i = 0; i < 20; ++i) {
            const bool right = (i + run) % 5 != 0;
            pick(t, right);
            if (!right) failed.push_back(shown(t));
            t.Command2.click();
        }
    }
    auto rows = failedRows();
    QCOMPARE(rows.size(), failed.size());
    for (std::size_t k = 0; k < rows.size(); ++k) compareRow(rows[k], failed[k]);

    QVERIFY(t.Label17.Visible());
    t.Label17_Click();
    Hibatst& r = tk::form<Hibatst>();
    QVERIFY(r.Visible());
    r.Command1.click();
    QCOMPARE(r.Label31.Caption(), QString::number(failed.size()));
    for (std::size_t k = 0; k < failed.size(); ++k) {
        QCOMPARE(r.Label13.Caption(), failed[k].mondat);
        QCOMPARE(r.Label23.Caption(), failed[k].pick);
        r.Command4.click();
    }
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    r.Command6.click();
    QCOMPARE(hibaRowCount(), 1L);
}

void TestTestWindow::reopening_keepsFailedItemsAndStartChosen() {
    testkit::Session s;
    Sptest& t = startTwenty(s);
    for (int i = 0; i < 20; ++i) {
        pick(t, i >= 3);
        t.Command2.click();
    }
    t.beg(2).trigger();  // a starting point, then away before any evaluation
    t.mnuQuizmora_Click();
    QVERIFY(!t.Loaded());
    QVERIFY(tk::form<Quizsp>().Visible());
    QCOMPARE(failedRows().size(), std::size_t(3));

    t.Show();
    QCOMPARE(t.StartChosen, 1);
    QVERIFY(!t.Command2.Visible());
    t.Command3.click();
    QVERIFY(t.Command2.Visible());  // sequential, from the fresh view's first row
    QCOMPARE(t.Label13.Caption(), QStringLiteral("Mondat 1 _____."));
    pick(t, false);
    t.Command5.click();
    QCOMPARE(failedRows().size(), std::size_t(4));
    QCOMPARE(failedRows().back().mondat, QStringLiteral("Mondat 1 _____."));
}

void TestTestWindow::reviewLoadedHidden_showsItemsAppendedLater() {
    testkit::Session s;
    const QString path = testkit::bankPath(s);
    itembank::createItemBank(path, bank(30));
    DbPath = path;
    LangBase = 16;
    tasks::hide(tasks::Review);  // as the practice and editor windows do before the test
    Hibatst& r = tk::form<Hibatst>();
    QVERIFY(r.Loaded() && !r.Visible());
    Sptest& t = tk::form<Sptest>();
    t.Show();
    t.mnuNumeroItem(0).trigger();
    t.beg(0).trigger();
    t.Command3.click();
    for (int i = 0; i < 20; ++i) {
        pick(t, i % 4 != 0);
        t.Command2.click();
    }
    QCOMPARE(failedRows().size(), std::size_t(5));
    t.Label17_Click();
    QVERIFY(r.Visible());
    r.Command1.click();
    QCOMPARE(r.Label31.Caption(), QStringLiteral("5"));
    QCOMPARE(r.Label13.Caption(), failedRows().front().mondat);
    r.Command6.click();
    QCOMPARE(hibaRowCount(), 1L);

    // Loaded unseen again and never started: the test's Close unloads it and
    // the failed items of a review nobody saw stay for the next one.
    tasks::hide(tasks::Review);
    t.mnuNumeroItem(0).trigger();
    t.Command3.click();
    for (int i = 0; i < 20; ++i) {
        pick(t, i != 0);
        t.Command4.click();
    }
    t.Command6.click();
    QVERIFY(!r.Loaded());
    QCOMPARE(failedRows().size(), std::size_t(1));
}

void TestTestWindow::close_unloadsReviewAndShowsLauncher() {
    testkit::Session s;
    Sptest& t = openTest(s, 30);
    t.mnuNumeroItem(0).trigger();
    t.Command3.click();
    for (int i = 0; i < 20; ++i) {
        pick(t, i % 2 == 0);
        t.Command4.click();
    }
    t.Label17_Click();
    Hibatst& r = tk::form<Hibatst>();
    r.Command1.click();
    QCOMPARE(r.Label31.Caption(), QStringLiteral("10"));
    t.Command6.click();
    QVERIFY(!t.Loaded() && !r.Loaded());
    QVERIFY(tk::form<Quizsp>().Visible());
    QCOMPARE(hibaRowCount(), 1L);
}

void TestTestWindow::link_handsTheTopOverToTheReview() {
    testkit::Session s;
    Sptest& t = openTest(s, 30);
    t.Command3.click();
    pick(t, false);
    t.Command5.click();
    QVERIFY(t.Topmost());
    t.Label17.widget();
    t.Label17_Click();
    Hibatst& r = tk::form<Hibatst>();
    QVERIFY(!t.Topmost());
    QVERIFY(r.Topmost() && r.Visible());
    QVERIFY(!t.Frame3D2.Visible() && !t.Label17.Visible());
    QCOMPARE(r.MsgTitle, i18n::text(66, 16));
    r.Command6.click();
    QVERIFY(t.Topmost());
    QVERIFY(!r.Loaded());
}

void TestTestWindow::unopenableBank_backToTheLauncher() {
    testkit::Session s;
    const QString path = testkit::bankPath(s);
    QVERIFY(bankfixture::writeFile(path, "not an item bank"));
    DbPath = path;
    LangBase = 16;
    Sptest& t = tk::form<Sptest>();
    t.Show();
    QVERIFY(!t.Loaded());
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    QVERIFY(s.dialogs.calls().front().prompt.contains(path));
    QTRY_VERIFY(tk::form<Quizsp>().Visible());

    // Its handlers, should they still run, end quietly.
    s.dialogs.clear();
    t.Command3_Click();
    t.Command2_Click();
    t.Command4_Click();
    t.Command5_Click();
    t.beg_Click(0);
    QVERIFY(s.dialogs.callsOf(Kind::MsgBox).empty());
}

void TestTestWindow::failedWrite_keepsNothingAndRetriesOnce() {
    testkit::Session s;
    Sptest& t = startTest(s, 30);
    pick(t, false);
    const Shown first = shown(t);
    // The failed items cannot be written for a moment: another program
    // holds the bank.
    {
        bankfixture::OtherProgramLock lock(DbPath);
        t.Command2.click();
    }
    QCOMPARE(ItemNo, 1);  // the item stays, not scored
    QCOMPARE(t.Label9.Caption(), first.pick);
    QCOMPARE(hibaRowCount(), 1L);
    t.Command2.click();
    QCOMPARE(ItemNo, 2);
    auto rows = failedRows();
    QCOMPARE(rows.size(), std::size_t(1));
    compareRow(rows[0], first);
    // Nothing half-made comes back when the window goes.
    t.Command6.click();
    QCOMPARE(failedRows().size(), std::size_t(1));
}

QTEST_MAIN(TestTestWindow)
#include "tst_testwindow.moc"
