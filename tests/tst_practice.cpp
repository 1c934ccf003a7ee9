// The practice window, driven through its buttons, keys and menus on a small
// item bank: load state and captions, judging a choice, sequential and random
// runs, browsing and its ends, the Settings menus, the Tasks menu, what the
// window keeps across closing, and a bank that cannot be opened.

#include <QDir>
#include <QTest>
#include <set>

#include "app/quizsp.h"
#include "app/tasks.h"
#include "bankfixture.h"
#include "editor/form1.h"
#include "i18n/texts.h"
#include "practice/spgyak.h"
#include "test/sptest.h"
#include "testkit.h"

using namespace qz_test;
using Kind = tk::ScriptedDialogs::Kind;
using bankfixture::item;
using bankfixture::openFiles;

namespace {

// Order keys out of serial order; right letters B, lower-case b, C and D
// among them; topic "1"/"j" (Verbs_Governments) and level 0 hold nothing.
//   all levels by sorrend2: 10 3 6 1 2 11 5 7 8 4 9
//   verbs (kulcs1 '1'):     3 6 1 2 11 9
//   level 2:                10 2 5 7
std::vector<itembank::Item> practiceBank() {
    return {
        item(1, "1", "0", 1, 430, "B"), item(2, "1", "a", 2, 431, "A"), item(3, "1", "b", 3, 12, "b"),
        item(4, "2", "0", 1, 2999, "C"), item(5, "a", "3", 2, 860, "D"), item(6, "1", "a", 1, 100, "A"),
        item(7, "5", "9", 2, 1500, "A"), item(8, "a", "1", 3, 2581, "A"), item(9, "1", "c", 1, 3000, "A"),
        item(10, "9", "0", 2, 1, "B"),  item(11, "1", "e", 1, 700, "A"),
    };
}

// A practice window over a fresh bank in the test's folder.
Spgyak& open(testkit::Session& s, int langBase = 16, const std::vector<itembank::Item>& items = practiceBank()) {
    DbPath = testkit::bankPath(s);
    if (!QFile::exists(DbPath)) itembank::createItemBank(DbPath, items);
    LangBase = static_cast<std::int16_t>(langBase);
    Spgyak& w = tk::form<Spgyak>();
    w.Show();
    return w;
}

QString shownSerial(const Spgyak& w) { return w.Label26.Caption(); }
QString sentenceOf(int sorszam) { return QStringLiteral(" Mondat %1 _____.").arg(sorszam); }

bool green(const Spgyak& w) { return w.Label19.Visible() && !w.Label20.Visible(); }
bool red(const Spgyak& w) { return w.Label20.Visible() && !w.Label19.Visible(); }
bool noBar(const Spgyak& w) { return !w.Label19.Visible() && !w.Label20.Visible(); }

std::vector<tk::ScriptedDialogs::Call> boxes(const testkit::Session& s) { return s.dialogs.callsOf(Kind::MsgBox); }

}  // namespace

class TestPractice : public QObject {
    Q_OBJECT

private slots:
    void load_designStateInEachLanguage();
    void choosing_exactLetterByMouseAndKey();
    void start_randomAndSequentialModes();
    void sequentialNext_restartsAtTheEnd();
    void browsing_endsOfTheSelection();
    void randomNext_freshDrawsFromTheWholeBank();
    void randomNext_impossibleDrawEndsQuietly();
    void topicAndLevel_replaceEachOther();
    void emptySelections_warnAndKeepTheItem();
    void startingPoints_searchForwardOnly();
    void hiddenShortcut_mistakesInTableOrder();
    void recordNumber_onRequest();
    void reopening_keepsTheRunValues();
    void tasks_leaveForEachWindow();
    void unopenableBank_backToTheLauncher();
};

void TestPractice::load_designStateInEachLanguage() {
    testkit::Session s;
    Spgyak& w = open(s, 116);
    QCOMPARE(w.Caption(), QStringLiteral("Quizmora Hungarian  ----  Gyakorlás"));
    QCOMPARE(w.MsgTitle, QStringLiteral("Gyakorlás"));
    QVERIFY(w.Topmost());
    // Hungarian literals over the table texts.
    QCOMPARE(w.Command2.Caption(), QStringLiteral("To&vább"));
    QCOMPARE(w.Command5.Caption(), QStringLiteral("&Első"));
    QCOMPARE(w.mnustart.Caption(), QStringLiteral("&Kezdőpont..."));
    QCOMPARE(w.mnuTopicItem(5).Caption(), QStringLiteral("&Főnév"));
    QCOMPARE(w.mnuTopicItem(9).Caption(), QStringLiteral("Igekötők"));
    QCOMPARE(w.Command3.Caption(), i18n::text(2, 116));
    QCOMPARE(w.Label28.Caption(), i18n::text(61, 116));
    QCOMPARE(w.mnuQuizmora.Caption(), QStringLiteral("&Quizmora"));

    // Only Start, Close and the menus.
    QVERIFY(w.Command3.Visible() && w.Command6.Visible());
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             &w.Command1, &w.Command2, &w.Command10, &w.Command5, &w.Command7, &w.Command8, &w.Command9, &w.Frame3D1,
             &w.Label13, &w.Label14, &w.Label17, &w.Label19, &w.Label20, &w.Label21, &w.Label22, &w.Label23,
             &w.Label24, &w.Label27, &w.Label28, &w.Label29, &w.Label30, &w.Option3D1})
        QVERIFY2(!c->Visible(), qPrintable(c->Name()));
    // Menus in their load state.
    QVERIFY(!w.mnuPractice.Enabled());
    QVERIFY(!w.mnuParameters.Enabled());
    QVERIFY(w.mnuNumeroItem(0).Checked() && w.mnuTiempoItem(0).Checked());
    QVERIFY(w.mnuNivelItem(0).Checked() && !w.mnuNivelItem(3).Checked());
    QVERIFY(w.mnuTopicItem(0).Checked() && !w.mnuTopicItem(1).Checked());
    QVERIFY(w.beg(0).Checked() && w.beg(6).Visible());
    for (int i = 7; i <= 10; ++i) QVERIFY(!w.beg(i).Visible() && !w.beg(i).Enabled());
    // A screen reader names each option by its letter; the bars are pure.
    QCOMPARE(w.Option3D2.widget()->accessibleName(), QStringLiteral("A"));
    QCOMPARE(w.Option3D5.widget()->accessibleName(), QStringLiteral("D"));
    QCOMPARE(w.Label19.BackColor(), QColor(0, 255, 0));
    QCOMPARE(w.Label20.BackColor(), QColor(255, 0, 0));

    // The other languages, on the next opening.
    w.Unload();
    LangBase = 16;
    w.Show();
    QCOMPARE(w.Caption(), QStringLiteral("Quizmora Hungarian  ----  Practice"));
    QCOMPARE(w.mnuTopicItem(5).Caption(), i18n::text(64, 16));
    QCOMPARE(w.Command2.Caption(), i18n::text(5, 16));
    w.Unload();
    LangBase = 216;
    w.Show();
    QCOMPARE(w.MsgTitle, QStringLiteral("Ejercicio"));
    QCOMPARE(w.Command6.Caption(), i18n::text(4, 216));
    QVERIFY(s.dialogs.calls().empty());
}

void TestPractice::choosing_exactLetterByMouseAndKey() {
    testkit::Session s;
    Spgyak& w = open(s);
    // Before Start: no item filled yet, so any key is judged wrong.
    testkit::typeChar(w.window(), 'a');
    QVERIFY(red(w));
    QCOMPARE(w.Label9.Caption(), QStringLiteral("A"));
    QVERIFY(!w.Frame3D1.Visible());

    // Topic Verbs: item 3 first, stored right letter lower-case "b".
    w.mnuTopicItem(0).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QVERIFY(noBar(w));
    testkit::typeChar(w.window(), 'b');
    QVERIFY(red(w));  // "B" is not "b"
    w.Command3.click();
    w.Command2.click();  // item 6, right letter A
    QCOMPARE(shownSerial(w), QStringLiteral("6"));
    QVERIFY(noBar(w));
    QTest::mouseClick(w.Option3D3.widget(), Qt::LeftButton);  // B: wrong
    QVERIFY(red(w));
    QCOMPARE(w.Label9.Caption(), QStringLiteral("B"));
    QTest::mouseClick(w.Option3D2.widget(), Qt::LeftButton);  // A: right
    QVERIFY(green(w));
    QVERIFY(w.Option3D2.Value());
    testkit::typeChar(w.window(), 'd');  // again, now wrong
    QVERIFY(red(w));
    QVERIFY(w.Option3D5.Value() && !w.Option3D2.Value());
    // Upper-case letters select nothing.
    testkit::typeChar(w.window(), 'A');
    QVERIFY(red(w));
    QVERIFY(w.Option3D5.Value());
    QCOMPARE(w.Label9.Caption(), QStringLiteral("D"));

    // Solution: text and letter, the bar stays; Next hides all and clears
    // the visible choice but not the letter.
    w.Command1.click();
    QVERIFY(w.Label17.Visible() && w.Label18.Visible());
    QCOMPARE(w.Label17.Caption(), QStringLiteral("Megoldás 6"));
    QCOMPARE(w.Label18.Caption(), QStringLiteral("A"));
    QVERIFY(red(w));
    w.Command2.click();
    QVERIFY(noBar(w) && !w.Label17.Visible() && !w.Label18.Visible());
    QVERIFY(!w.Option3D2.Value() && !w.Option3D5.Value());
    QCOMPARE(w.Label9.Caption(), QStringLiteral("D"));
    QVERIFY(s.dialogs.calls().empty());
}

void TestPractice::start_randomAndSequentialModes() {
    testkit::Session s;
    Spgyak& w = open(s);
    // Random mode: the first item is the selection's (lowest order key of
    // all levels), not a drawn one.
    w.Command3.click();
    QCOMPARE(ItemNo, 1);
    QCOMPARE(w.Label22.Caption(), QStringLiteral("1"));
    QCOMPARE(w.Label13.Caption(), sentenceOf(10));
    QCOMPARE(w.Label14.Caption(), QStringLiteral(" a10"));
    QCOMPARE(w.Label16.Caption(), QStringLiteral(" d10"));
    QVERIFY(!w.Command3.Visible());
    QVERIFY(w.Command10.Visible() && !w.Command2.Visible());
    QVERIFY(!w.Command5.Visible() && !w.Command9.Visible());
    QVERIFY(w.Command1.Visible() && w.Frame3D1.Visible() && w.Label23.Visible());
    QVERIFY(!w.mnustart.Enabled());
    QVERIFY(w.defaultButton() == nullptr);
    // Enter in random mode means Next only when Next has the focus.
    w.Command1.widget()->setFocus();
    testkit::typeKey(w.window(), Qt::Key_Return);
    QCOMPARE(ItemNo, 1);

    // Sequential mode: after a topic, Enter means Next.
    w.Unload();
    w.Show();
    w.mnuTopicItem(0).trigger();
    w.Command3.click();
    QVERIFY(w.Command2.Visible() && !w.Command10.Visible());
    QVERIFY(w.Command5.Visible() && w.Command7.Visible() && w.Command8.Visible() && w.Command9.Visible());
    QVERIFY(w.mnustart.Enabled());
    QVERIFY(w.Command2.Default());
    testkit::typeKey(w.window(), Qt::Key_Return);
    QCOMPARE(ItemNo, 2);
    QCOMPARE(shownSerial(w), QStringLiteral("6"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("2"));
    QCOMPARE(w.Label31.Caption(), QStringLiteral("6"));
}

void TestPractice::sequentialNext_restartsAtTheEnd() {
    testkit::Session s;
    Spgyak& w = open(s);
    w.mnuNivelItem(1).trigger();  // level 2: 10 2 5 7
    w.mnuTopicItem(11).trigger();  // Postpositions: item 4 alone
    QCOMPARE(w.Label31.Caption(), QStringLiteral("1"));
    w.mnuNivelItem(1).trigger();
    w.Command3.click();  // a level alone: random mode, but Next is sequential now
    w.mnuNivelItem(1).trigger();
    QVERIFY(w.Command2.Visible() && !w.Command10.Visible());
    QCOMPARE(shownSerial(w), QStringLiteral("10"));
    for (const char* serial : {"2", "5", "7"}) {
        w.Command2.click();
        QCOMPARE(shownSerial(w), QString::fromLatin1(serial));
    }
    QCOMPARE(ItemNo, 4);
    QCOMPARE(w.RecPos, 4L);
    QVERIFY(boxes(s).empty());
    w.Command2.click();  // past the last: the restart message, then the first
    const auto b = boxes(s);
    QCOMPARE(b.size(), std::size_t(1));
    QCOMPARE(b[0].prompt, i18n::text(80, 16));
    QCOMPARE(b[0].style, int(tk::vbCritical));
    QCOMPARE(b[0].title, QStringLiteral("Practice"));
    QCOMPARE(shownSerial(w), QStringLiteral("10"));
    QCOMPARE(ItemNo, 4);
    QCOMPARE(w.Label22.Caption(), QStringLiteral("4"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("1"));
    QVERIFY(w.Label30.Visible() && w.Label31.Visible() && w.Label32.Visible());
    w.Command2.click();
    QCOMPARE(shownSerial(w), QStringLiteral("2"));
    QCOMPARE(ItemNo, 5);
}

void TestPractice::browsing_endsOfTheSelection() {
    testkit::Session s;
    Spgyak& w = open(s);
    w.mnuTopicItem(0).trigger();  // verbs: 3 6 1 2 11 9
    w.Command3.click();
    // Previous on the first: the message, the item stays; Next comes back
    // to the same item at position 1.
    w.Command7.click();
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(boxes(s)[0].prompt, i18n::text(78, 16));
    QCOMPARE(boxes(s)[0].style, int(tk::vbInformation));
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("1"));
    w.Command8.click();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("1"));
    w.Command8.click();
    QCOMPARE(shownSerial(w), QStringLiteral("6"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("2"));
    // The sequential Next back in from before the first item: position 1 too.
    w.Command5.click();
    w.Command7.click();
    w.Command2.click();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("1"));

    // Last, then Next: "This is the last record."; Previous comes back in.
    testkit::typeChar(w.window(), 'c');
    w.Command1.click();
    w.Command9.click();
    QCOMPARE(shownSerial(w), QStringLiteral("9"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("6"));
    QVERIFY(noBar(w) && !w.Label17.Visible());  // the browse buttons hide them
    s.dialogs.clear();
    w.Command8.click();
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(boxes(s)[0].prompt, i18n::text(77, 16));
    QCOMPARE(shownSerial(w), QStringLiteral("9"));
    w.Command8.click();  // still past the end: nothing more
    QCOMPARE(boxes(s).size(), std::size_t(1));
    w.Command7.click();
    QCOMPARE(shownSerial(w), QStringLiteral("9"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("6"));
    w.Command7.click();
    QCOMPARE(shownSerial(w), QStringLiteral("11"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("5"));
    w.Command5.click();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QCOMPARE(w.Label30.Caption(), QStringLiteral("1"));
}

void TestPractice::randomNext_freshDrawsFromTheWholeBank() {
    testkit::Session s;
    Spgyak& w = open(s);
    // A level before Start: random mode, the level's first item first.
    w.mnuNivelItem(2).trigger();
    w.Command3.click();
    QVERIFY(w.Command10.Visible() && !w.Command2.Visible());
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QVERIFY(w.Label30.Visible());

    // The highest serial number is read on the first draw and kept: an item
    // added later with a higher number is never drawn in this run.
    const long posBefore = w.RecPos;
    w.Command10.click();
    QCOMPARE(w.MaxSorszam, std::int16_t(11));
    QCOMPARE(ItemNo, 2);
    QCOMPARE(w.RecPos, posBefore + 1);
    QCOMPARE(w.Label30.Caption(), QString::number(posBefore + 1));
    QVERIFY(!w.Label21.Visible());
    bankfixture::execSql(DbPath,
                         "INSERT INTO test1 (sorszam, mondat, a, b, c, d, felelet1, felelet2, kulcs1, kulcs2, szint, "
                         "sorrend2) VALUES (12, 'Új', 'a', 'b', 'c', 'd', 'x', 'A', '1', '0', 1, 5)");
    std::set<QString> seen;
    const int filesBefore = openFiles();
    for (int i = 0; i < 200; ++i) {
        testkit::typeChar(w.window(), 'a');
        w.Command1.click();
        w.Command10.click();
        QVERIFY(noBar(w) && !w.Label17.Visible());
        seen.insert(shownSerial(w));
        QCOMPARE(w.Label13.Caption(), sentenceOf(shownSerial(w).toInt()));
    }
    QCOMPARE(ItemNo, 202);
    QVERIFY(!seen.count(QStringLiteral("12")));
    QVERIFY(seen.size() >= 8);  // items of every topic and level
    QVERIFY(seen.count(QStringLiteral("4")) && seen.count(QStringLiteral("8")));
    // Each draw lets go of the previous one's files.
    QCOMPARE(openFiles(), filesBefore);
    QVERIFY(boxes(s).empty());
}

void TestPractice::randomNext_impossibleDrawEndsQuietly() {
    testkit::Session s;
    Spgyak& w = open(s);
    w.Command3.click();
    bankfixture::execSql(DbPath, "UPDATE test1 SET sorszam = 40000 WHERE sorszam = 9");
    w.Command10.click();  // the highest serial number does not fit: no item
    QCOMPARE(ItemNo, 1);
    QCOMPARE(w.MaxSorszam, std::int16_t(0));
    QCOMPARE(shownSerial(w), QStringLiteral("10"));
    bankfixture::execSql(DbPath, "DELETE FROM test1");
    w.Command10.click();  // an empty table
    QCOMPARE(ItemNo, 1);
    QVERIFY(boxes(s).empty());
    QVERIFY(w.Command10.Visible());
}

void TestPractice::topicAndLevel_replaceEachOther() {
    testkit::Session s;
    Spgyak& w = open(s);
    // Level 2, then Verbs: the verbs of every level, the topic shown.
    w.mnuNivelItem(1).trigger();
    QVERIFY(w.Label27.Visible() && w.Label28.Visible() && !w.Label21.Visible());
    QCOMPARE(w.Label27.Caption(), QStringLiteral("2"));
    QCOMPARE(w.Label31.Caption(), QStringLiteral("4"));
    QVERIFY(w.mnuNivelItem(1).Checked() && !w.mnuNivelItem(0).Checked());
    QVERIFY(w.Command2.Visible() && !w.Command5.Visible());  // a level leaves the browse buttons
    QCOMPARE(w.SeqMode, 0);
    w.mnuTopicItem(0).trigger();
    QCOMPARE(w.SeqMode, 1);
    QVERIFY(!w.Label27.Visible() && !w.Label28.Visible());
    QVERIFY(w.Label21.Visible() && w.Label29.Visible());
    QCOMPARE(w.Label21.Caption(), QStringLiteral("&Verbs"));
    QCOMPARE(w.Label31.Caption(), QStringLiteral("6"));
    QVERIFY(w.Command5.Visible() && w.Command9.Visible() && w.Label23.Visible());
    QVERIFY(w.mnuTopicItem(0).Checked());

    // Then level 3: that level across all topics.
    w.mnuTopicItem(21).trigger();
    QVERIFY(w.mnuTopicItem(21).Checked() && !w.mnuTopicItem(0).Checked());
    w.mnuNivelItem(2).trigger();
    QCOMPARE(w.Label31.Caption(), QStringLiteral("2"));  // items 3 and 8
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QVERIFY(!w.Label21.Visible() && w.Label28.Visible());
    // "1-3": no level item checked, the label reads "1-3" over the item's level.
    w.mnuNivelItem(3).trigger();
    for (int i = 0; i < 4; ++i) QVERIFY(!w.mnuNivelItem(i).Checked());
    QCOMPARE(w.Label27.Caption(), QStringLiteral("1-3"));
    QCOMPARE(w.Label31.Caption(), QStringLiteral("11"));
    QCOMPARE(shownSerial(w), QStringLiteral("10"));

    // Topic labels: Nouns in English and in Hungarian.
    w.mnuTopicItem(5).trigger();
    QCOMPARE(w.Label21.Caption(), i18n::text(64, 16));
    QCOMPARE(shownSerial(w), QStringLiteral("11"));
    w.Unload();
    LangBase = 116;
    w.Show();
    w.mnuTopicItem(5).trigger();
    QCOMPARE(w.Label21.Caption(), QStringLiteral("Főnév"));
    QCOMPARE(w.mnuTopicItem(5).Caption(), QStringLiteral("&Főnév"));
    w.mnuTopicItem(1).trigger();
    QCOMPARE(w.Label21.Caption(), QStringLiteral("Ige_Időhasználat"));
    w.mnuTopicItem(2).trigger();
    QCOMPARE(w.Label21.Caption(), i18n::text(44, 116));
    QVERIFY(boxes(s).empty());
}

void TestPractice::emptySelections_warnAndKeepTheItem() {
    testkit::Session s;
    Spgyak& w = open(s, 16,
                     {item(1, "1", "0", 1, 10), item(2, "1", "a", 1, 20), item(3, "2", "0", 2, 30)});
    w.mnuTopicItem(0).trigger();
    w.Command3.click();
    testkit::typeChar(w.window(), 'a');
    QVERIFY(green(w));
    const QString verbs = w.Label21.Caption();
    // An empty topic: the warning, the bars go, the item and label stay.
    w.mnuTopicItem(10).trigger();
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(boxes(s)[0].prompt, i18n::text(82, 16));
    QCOMPARE(boxes(s)[0].style, int(tk::vbExclamation));
    QCOMPARE(boxes(s)[0].title, QStringLiteral("Practice"));
    QVERIFY(noBar(w));
    QCOMPARE(shownSerial(w), QStringLiteral("1"));
    QCOMPARE(w.Label21.Caption(), verbs);
    QVERIFY(w.mnuTopicItem(10).Checked());
    // The empty selection is in force: the buttons do nothing harmful.
    w.Command2.click();
    w.Command8.click();
    w.Command7.click();
    w.Command9.click();
    QCOMPARE(shownSerial(w), QStringLiteral("1"));
    QVERIFY(w.Loaded());
    // Another topic works again.
    w.mnuTopicItem(11).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));

    // An empty level does the same.
    s.dialogs.clear();
    w.mnuNivelItem(2).trigger();
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(boxes(s)[0].prompt, i18n::text(82, 16));
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    w.mnuNivelItem(1).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    QCOMPARE(w.Label27.Caption(), QStringLiteral("2"));
}

void TestPractice::startingPoints_searchForwardOnly() {
    testkit::Session s;
    Spgyak& w = open(s);
    // "&301" (above 2580) from the first item, then "51" (above 430): the
    // current item is already beyond, so it only moves on by one.
    w.beg(6).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("8"));
    QCOMPARE(w.StartCriteria, QStringLiteral("sorrend2 > 2580"));
    QCOMPARE(w.SeqMode, 1);
    QVERIFY(!w.Label30.Visible() && !w.Label31.Visible());
    QVERIFY(w.Command5.Visible() && w.Label23.Visible() && !w.Command2.Visible());
    w.beg(1).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("4"));
    QVERIFY(w.beg(0).Checked() && !w.beg(1).Checked());
    // Nothing beyond the last: nothing changes, no message.
    w.beg(6).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("9"));
    w.beg(6).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("9"));
    QVERIFY(boxes(s).empty());
    // Start runs sequentially; the sequential restart shows the position again.
    w.Command3.click();
    QVERIFY(w.Command2.Visible());
    w.Command2.click();
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(shownSerial(w), QStringLiteral("10"));
    QVERIFY(w.Label30.Visible());
}

void TestPractice::hiddenShortcut_mistakesInTableOrder() {
    testkit::Session s;
    Spgyak& w = open(s, 16,
                     {item(1, "1", "9", 1, 900), item(2, "1", "a", 2, 20), item(3, "2", "9", 3, 10)});
    w.mnuNivelItem(1).trigger();
    QCOMPARE(shownSerial(w), QStringLiteral("2"));
    QTest::mouseClick(w.Label28.widget(), Qt::LeftButton);
    QCOMPARE(shownSerial(w), QStringLiteral("1"));  // table order, not by order key
    QCOMPARE(w.Label27.Caption(), QStringLiteral("1"));
    QVERIFY(w.mnuNivelItem(1).Checked());
    w.Command2.click();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));

    // No such items: the warning; the item stays.
    bankfixture::execSql(DbPath, "UPDATE test1 SET kulcs2 = '0'");
    w.Label28_Click();
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(boxes(s)[0].prompt, i18n::text(82, 16));
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
}

void TestPractice::recordNumber_onRequest() {
    testkit::Session s;
    Spgyak& w = open(s, 116);
    QVERIFY(!w.Label24.Visible());
    w.Command3.click();
    QVERIFY(w.Label24.Visible());
    QCOMPARE(w.Label24.Caption(), i18n::text(76, 116));
    QTest::mouseClick(w.Label24.widget(), Qt::LeftButton);
    QVERIFY(!w.Label24.Visible());
    QVERIFY(w.Label25.Visible() && w.Label26.Visible());
    QCOMPARE(w.Label25.Caption(), i18n::text(81, 116));
    QCOMPARE(w.Label26.Caption(), QStringLiteral("10"));
    w.Command10.click();
    QCOMPARE(w.Label26.Caption(), w.Label13.Caption().section(QLatin1Char(' '), 2, 2));  // follows the item
}

void TestPractice::reopening_keepsTheRunValues() {
    testkit::Session s;
    Spgyak& w = open(s);
    w.Command3.click();
    w.Command10.click();
    QCOMPARE(w.MaxSorszam, std::int16_t(11));
    w.mnuTopicItem(0).trigger();
    w.beg(2).trigger();
    w.Command2.click();
    const long pos = w.RecPos, count = w.RecCount;
    w.Command6.click();
    QVERIFY(!w.Loaded());
    QVERIFY(tk::form<Quizsp>().Visible());
    w.Show();
    QCOMPARE(w.SeqMode, 1);
    QCOMPARE(w.RecPos, pos);
    QCOMPARE(w.RecCount, count);
    QCOMPARE(w.StartCriteria, QStringLiteral("sorrend2 > 860"));
    QCOMPARE(w.MaxSorszam, std::int16_t(11));
    // Load state again: load-time check marks, Start back, all levels.
    QVERIFY(w.mnuTopicItem(0).Checked() && w.mnuNivelItem(0).Checked());
    QVERIFY(w.mnustart.Enabled());
    QVERIFY(w.Command3.Visible() && !w.Command2.Visible() && !w.Frame3D1.Visible());
    w.Command3.click();  // sequential, over every level
    QVERIFY(w.Command2.Visible() && !w.Command10.Visible());
    QCOMPARE(shownSerial(w), QStringLiteral("10"));
    w.Command2.click();
    QCOMPARE(shownSerial(w), QStringLiteral("3"));
    // A starting point chosen earlier keeps its criterion for p 7-10 too.
    w.beg_Click(8);
    QCOMPARE(w.StartCriteria, QStringLiteral("sorrend2 > 860"));
    QCOMPARE(shownSerial(w), QStringLiteral("7"));  // strictly above 860: not item 5
}

void TestPractice::tasks_leaveForEachWindow() {
    testkit::Session s;
    Spgyak& w = open(s);
    w.mnuTest.trigger();
    QVERIFY(tk::form<Sptest>().Visible());
    QVERIFY(!w.Loaded());
    tk::form<Sptest>().Unload();
    w.Show();
    w.mnuDatabase.trigger();
    QVERIFY(tk::form<Form1>().Visible());
    QVERIFY(!w.Loaded());
    w.Show();
    w.mnuQuizmora.trigger();
    QVERIFY(tk::form<Quizsp>().Visible());
    QVERIFY(!w.Loaded());
    w.Show();
    w.mnuPractice.trigger();  // disabled: nothing
    QVERIFY(w.Visible());
}

void TestPractice::unopenableBank_backToTheLauncher() {
    testkit::Session s;
    DbPath = testkit::bankPath(s);
    {
        QVERIFY(bankfixture::writeFile(DbPath, "Not an item bank at all."));
    }
    LangBase = 116;
    tasks::show(tasks::Practice);
    Spgyak& w = tk::form<Spgyak>();
    QVERIFY(!w.Loaded());
    QCOMPARE(boxes(s).size(), std::size_t(1));
    QCOMPARE(boxes(s)[0].style, int(tk::vbCritical));
    QVERIFY(boxes(s)[0].prompt.contains(DbPath));
    QTRY_VERIFY(tk::form<Quizsp>().Loaded());
}

QTEST_MAIN(TestPractice)
#include "tst_practice.moc"
