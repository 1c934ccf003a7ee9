// The item-bank editor: Start, the topic line, New, the moves, Delete, the
// searches (hostile conditions included), filing under a topic, leaving the
// editor, a serial number that is taken, fonts.

#include <QLineEdit>
#include <QTest>

#include "app/quizsp.h"
#include "bankfixture.h"
#include "editor/form1.h"
#include "i18n/captions.h"
#include "i18n/texts.h"
#include "itembank/selection.h"
#include "practice/spgyak.h"
#include "test/sptest.h"
#include "testkit.h"

using namespace qz_test;
using testkit::bankPath;
using bankfixture::item;
using Kind = tk::ScriptedDialogs::Kind;

namespace {


// The editor on a bank of the given items, loaded (Start not yet pressed).
Form1& openEditor(testkit::Session& s, const std::vector<itembank::Item>& items, int langBase = 16) {
    LangBase = static_cast<std::int16_t>(langBase);
    DbPath = bankPath(s);
    itembank::createItemBank(DbPath, items);
    Form1& f = tk::form<Form1>();
    f.Show();
    return f;
}

Form1& startedEditor(testkit::Session& s, const std::vector<itembank::Item>& items, int langBase = 16) {
    Form1& f = openEditor(s, items, langBase);
    f.Command10.click();
    return f;
}

QLineEdit* lineOf(tk::TextBox& box) { return static_cast<QLineEdit*>(box.widget()); }

// Replaces the text of a one-line box as a user would: select all, type.
void retype(tk::TextBox& box, const QString& text) {
    QLineEdit* edit = lineOf(box);
    edit->setFocus();
    edit->selectAll();
    testkit::typeText(edit, text);
}

QString topicText(int position, int langBase = 16) {
    return i18n::text(i18n::kTopicCaptions[static_cast<std::size_t>(position)].offset, langBase);
}

// What another program would see in the file, row by row in serial order.
struct Row {
    qint64 sorszam;
    QString k1, k2, a, mondat;
    qint64 sorrend2;
};
std::vector<Row> rowsOf(const QString& path) {
    std::vector<Row> rows;
    auto rs = db::DBEngine::OpenDatabase(path)->OpenDynaset(QStringLiteral("test1"));
    for (; !rs->isEOF(); rs->MoveNext()) {
        auto f = [&](const char* n) { return rs->field(QLatin1String(n)); };
        rows.push_back({f("sorszam").isNull() ? -1 : f("sorszam").toInt(), f("kulcs1").toString(),
                        f("kulcs2").toString(), f("a").toString(), f("mondat").toString(),
                        f("sorrend2").isNull() ? -1 : f("sorrend2").toInt()});
    }
    return rows;
}
const Row* rowWith(const std::vector<Row>& rows, qint64 sorszam) {
    for (const Row& r : rows)
        if (r.sorszam == sorszam) return &r;
    return nullptr;
}

std::vector<itembank::Item> serials(std::initializer_list<int> numbers) {
    std::vector<itembank::Item> items;
    for (int n : numbers) items.push_back(item(n, "1", "0", 1, n));
    return items;
}

}  // namespace

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void load_onlyStartAndTasksWaitForStart();
    void start_showsFirstItemAndEveryField();
    void start_emptyTableThenNewGivesOne();
    void start_tableHandleCannotOpen_saysSoAndStays();
    void topicLine_pairsAndEmptyKeys();
    void new_after250_thenNextStores();
    void moves_stopAtTheEnds();
    void delete_firstItemAndNewThenDelete();
    void findFirst_defaultMatchAndNoMatch();
    void findNext_likeWalksMatchesThenReports();
    void find_invalidConditionsEndSilently();
    void find_hostileConditionsLeaveTheBankUnchanged();
    void topics_fileTheCurrentItem();
    void topics_newItemStoredThenFiled();
    void leave_storesTypingAndOpensTheChosenWindow();
    void frameClose_behavesAsClose();
    void duplicateSerial_refusedAndTypingKept();
    void fonts_onlyTheFocusedBox();
};

void TestEditor::load_onlyStartAndTasksWaitForStart() {
    testkit::Session s;
    Form1& f = openEditor(s, bankfixture::smallBank(), 216);
    QVERIFY(f.Topmost());
    QCOMPARE(f.Caption(), QStringLiteral("Quizmora Hungarian  ----  Base de datos"));
    QCOMPARE(f.MsgTitle, QStringLiteral("Base de datos"));
    QCOMPARE(f.mnutopicItem(5).Caption(), QStringLiteral("Oraciones condiciona&les"));
    QVERIFY(f.Command10.Visible());
    for (tk::Control* c : std::initializer_list<tk::Control*>{&f.Command1, &f.Command2, &f.Command5, &f.Text1, &f.Text3,
                                                               &f.Label10, &f.Text9, &f.Label8})
        QVERIFY2(!c->Visible(), qPrintable(c->Name()));
    QVERIFY(f.Data1.isOpen());
    QVERIFY(!f.SerialTable.isSet());

    // Before Start the Tasks items do nothing and no topic can be filed.
    f.mnuPractice.trigger();
    f.mnuQuizmora.trigger();
    f.mnuTest.trigger();
    QVERIFY(f.Visible());
    QVERIFY(!tk::Runtime::instance().existing<Spgyak>() || !tk::form<Spgyak>().Visible());
    QVERIFY(!tk::Runtime::instance().existing<Sptest>() || !tk::form<Sptest>().Visible());
    QVERIFY(!f.mnutopicItem(0).Enabled());
    f.mnutopicItem(12).trigger();
    QCOMPARE(rowsOf(DbPath).front().k1, QStringLiteral("1"));  // the unseen first row is not filed
    QVERIFY(s.dialogs.calls().empty());
}

void TestEditor::start_showsFirstItemAndEveryField() {
    testkit::Session s;
    Form1& f = startedEditor(s, bankfixture::smallBank(), 116);
    QVERIFY(!f.Command10.Visible());
    for (tk::Control* c : std::initializer_list<tk::Control*>{&f.Command1, &f.Command2, &f.Command3, &f.Command4,
                                                               &f.Command5, &f.Command6, &f.Command7, &f.Command8,
                                                               &f.Command11, &f.Text1, &f.Text10, &f.Label10})
        QVERIFY2(c->Visible(), qPrintable(c->Name()));
    QVERIFY(!f.Text9.Visible() && !f.Text11.Visible() && !f.Label9.Visible());
    QVERIFY(f.mnutopicItem(21).Enabled());
    QCOMPARE(f.SerialTable->Index(), QStringLiteral("sorszam"));
    QCOMPARE(f.Text1.Text(), QStringLiteral("1"));
    QCOMPARE(f.Text3.Text(), QStringLiteral("Mondat 1 _____."));
    QCOMPARE(f.Text4.Text(), QStringLiteral("a1"));
    QCOMPARE(f.Text8.Text(), QStringLiteral("Megoldás 1"));
    QCOMPARE(f.Text10.Text(), QStringLiteral("A"));
    QCOMPARE(f.Label10.Caption(), topicText(0, 116));  // the editor's table text, also in Hungarian

    // Every box says which field it edits, and no two say the same.
    QStringList names;
    for (tk::TextBox* b : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5, &f.Text6, &f.Text7, &f.Text8, &f.Text9,
                           &f.Text10, &f.Text11})
        names << b->widget()->accessibleName();
    QCOMPARE(names.removeDuplicates(), 0);
    QVERIFY(!names.contains(QString()));
    QCOMPARE(f.Text2.widget()->accessibleName(), QStringLiteral("Szint"));
}

void TestEditor::start_emptyTableThenNewGivesOne() {
    testkit::Session s;
    Form1& f = startedEditor(s, {});
    QVERIFY(f.Command1.Visible());
    QCOMPARE(f.Label10.Caption(), QString());
    QCOMPARE(f.Text1.Text(), QString());
    f.Command6.click();  // moves on an empty view do nothing
    f.Command7.click();
    f.Command3.click();
    f.Command8.click();
    QVERIFY(s.dialogs.calls().empty());

    f.Command1.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("1"));
    QCOMPARE(int(f.NewPending), 1);
    f.Text3.widget()->setFocus();
    testkit::typeText(f.Text3.widget(), QStringLiteral("Első mondat _____."));
    f.Command7.click();  // no move: the view of an empty table has no next row
    QCOMPARE(int(f.NewPending), 0);
    s.dialogs.queueInput(QStringLiteral("sorszam = 1"));
    f.Command5.click();  // the explicit update stores it
    QCOMPARE(f.Text3.Text(), QStringLiteral("Első mondat _____."));
    const auto rows = rowsOf(DbPath);
    QCOMPARE(rows.size(), std::size_t(1));
    QCOMPARE(rows[0].sorszam, 1);
    QCOMPARE(rows[0].mondat, QStringLiteral("Első mondat _____."));
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 0);
}

void TestEditor::start_tableHandleCannotOpen_saysSoAndStays() {
    testkit::Session s;
    DbPath = bankPath(s);
    itembank::createItemBank(DbPath, bankfixture::smallBank());
    LangBase = 16;
    Form1& f = tk::form<Form1>();
    f.Show();
    // Another program holds the bank while Start is pressed.
    {
        bankfixture::OtherProgramLock lock(DbPath);
        f.Command10.click();
    }
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    QCOMPARE(s.dialogs.calls().back().style, int(tk::vbExclamation));
    QVERIFY(f.Command10.Visible());
    QVERIFY(!f.Command1.Visible());
    QVERIFY(!f.SerialTable.isSet());
    f.mnuPractice.trigger();  // still nothing to leave from
    QVERIFY(f.Visible());
}

void TestEditor::topicLine_pairsAndEmptyKeys() {
    testkit::Session s;
    Form1& f = startedEditor(s, {item(1, "5", "z", 1, 1), item(2, "1", "k", 1, 2), item(3, "", "", 1, 3),
                                 item(4, "1", "", 1, 4), item(5, "a", "2", 1, 5), item(6, "9", "q", 1, 6)});
    QCOMPARE(f.Label10.Caption(), QStringLiteral("&Quantity"));  // "5" alone decides
    f.Command7.click();
    QCOMPARE(f.Label10.Caption(), QString());  // "1" with an unknown second key
    f.Command7.click();
    QCOMPARE(f.Label10.Caption(), QString());  // empty keys match nothing
    f.Command7.click();
    QCOMPARE(f.Label10.Caption(), QString());
    f.Command7.click();
    QCOMPARE(f.Label10.Caption(), topicText(18));
    f.Command7.click();
    QCOMPARE(f.Label10.Caption(), topicText(19));
    f.Command7.click();  // past the last item: no current row, the line stays
    QVERIFY(f.Data1.Recordset()->isEOF());
    QCOMPARE(f.Label10.Caption(), topicText(19));
    QCOMPARE(f.Text1.Text(), QString());
}

void TestEditor::new_after250_thenNextStores() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({3, 250, 17}));
    f.Command7.click();
    QVERIFY(!f.Label10.Caption().isEmpty());
    f.Command1.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("251"));
    QCOMPARE(f.ActiveControl(), &f.Text2);
    QCOMPARE(f.Label10.Caption(), QString());
    QCOMPARE(f.Text3.Text(), QString());
    QCOMPARE(int(f.NewPending), 1);
    testkit::typeText(lineOf(f.Text2), QStringLiteral("2"));
    f.Text3.widget()->setFocus();
    testkit::typeText(f.Text3.widget(), QStringLiteral("A kutya _____ ugat."));
    retype(f.Text4, QStringLiteral("hangosan"));
    retype(f.Text10, QStringLiteral("A"));
    f.Command7.click();  // the move stores the begun item
    QCOMPARE(int(f.NewPending), 0);
    const auto rows = rowsOf(DbPath);
    QCOMPARE(rows.size(), std::size_t(4));
    const Row* added = rowWith(rows, 251);
    QVERIFY(added);
    QCOMPARE(added->mondat, QStringLiteral("A kutya _____ ugat."));
    QCOMPARE(added->a, QStringLiteral("hangosan"));
    QVERIFY(added->sorrend2 >= 1 && added->sorrend2 <= 3000);
    QVERIFY(s.dialogs.calls().empty());

    // The next New counts on from the item just added.
    f.Command1.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("252"));
}

void TestEditor::moves_stopAtTheEnds() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({1, 2, 3}));
    f.Command3.click();  // back from the first item: before the first row
    QVERIFY(f.Data1.Recordset()->isBOF());
    QCOMPARE(f.Text1.Text(), QString());
    f.Command6.click();  // First does nothing there
    QVERIFY(f.Data1.Recordset()->isBOF());
    f.Command3.click();
    QVERIFY(f.Data1.Recordset()->isBOF());
    f.Command7.click();  // Next from there: the first item
    QCOMPARE(f.Text1.Text(), QStringLiteral("1"));
    f.Command8.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("3"));
    f.Command7.click();
    QVERIFY(f.Data1.Recordset()->isEOF());
    f.Command8.click();  // Last does nothing after the last row
    f.Command7.click();
    QVERIFY(f.Data1.Recordset()->isEOF());
    QCOMPARE(f.Text1.Text(), QString());
    f.Command3.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("3"));
    f.Command6.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("1"));
    QVERIFY(s.dialogs.calls().empty());
}

void TestEditor::delete_firstItemAndNewThenDelete() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({1, 2, 3}));
    f.Command4.click();  // the first item
    QVERIFY(f.Data1.Recordset()->isBOF());
    QCOMPARE(rowsOf(DbPath).size(), std::size_t(2));
    QVERIFY(!rowWith(rowsOf(DbPath), 1));
    f.Command7.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("2"));

    // New, then Delete: the begun item is stored and deleted again; the view
    // shows the item before it, the former last item.
    f.Command1.click();
    retype(f.Text4, QStringLiteral("rövid"));
    f.Command4.click();
    QCOMPARE(int(f.NewPending), 0);
    QCOMPARE(rowsOf(DbPath).size(), std::size_t(2));
    QVERIFY(!rowWith(rowsOf(DbPath), 4));
    QCOMPARE(f.Text1.Text(), QStringLiteral("3"));
    QVERIFY(s.dialogs.calls().empty());
}

void TestEditor::findFirst_defaultMatchAndNoMatch() {
    testkit::Session s;
    Form1& f = startedEditor(s, {item(4, "1", "0", 1, 1), item(1, "5", "z", 1, 2), item(9, "2", "0", 1, 3)}, 116);
    s.dialogs.queueInput(QStringLiteral("sorszam = 1"));
    f.Command5.click();
    const auto input = s.dialogs.callsOf(Kind::InputBox);
    QCOMPARE(input.size(), std::size_t(1));
    QCOMPARE(input[0].prompt, i18n::text(86, 116));
    QCOMPARE(input[0].title, QStringLiteral("Adatbázis"));
    QCOMPARE(input[0].defaultText, QStringLiteral("sorszam = 1"));
    QCOMPARE(f.Text1.Text(), QStringLiteral("1"));
    QCOMPARE(f.Label10.Caption(), topicText(16, 116));
    QCOMPARE(f.SearchCriteria, QStringLiteral("sorszam = 1"));
    QCOMPARE(s.dialogs.count(Kind::Beep), 0);

    s.dialogs.queueInput(QStringLiteral("sorszam = 77"));
    f.Command5.click();
    QCOMPARE(s.dialogs.count(Kind::Beep), 1);
    const auto boxes = s.dialogs.callsOf(Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].prompt, i18n::text(85, 116));
    QCOMPARE(boxes[0].style, int(tk::vbExclamation));
    QCOMPARE(boxes[0].title, QStringLiteral("Adatbázis"));
}

void TestEditor::findNext_likeWalksMatchesThenReports() {
    testkit::Session s;
    std::vector<itembank::Item> items = serials({1, 2, 3, 4});
    items[1].mondat = QStringLiteral("A ház előtt _____ egy fa.");
    items[1].kulcs1 = QStringLiteral("5");
    items[3].mondat = QStringLiteral("Ebben a HÁZBAN _____ laknak.");
    Form1& f = startedEditor(s, items);
    s.dialogs.queueInput(QStringLiteral("mondat Like \"*ház*\""));
    f.Command5.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("2"));
    QCOMPARE(f.Label10.Caption(), QStringLiteral("&Quantity"));
    f.Command11.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("4"));  // without regard to case
    QCOMPARE(f.Label10.Caption(), topicText(0));
    f.Command11.click();  // after the last match
    QCOMPARE(s.dialogs.count(Kind::Beep), 1);
    QCOMPARE(s.dialogs.callsOf(Kind::MsgBox).at(0).prompt, i18n::text(85, 16));
    QCOMPARE(f.Label10.Caption(), topicText(0));  // the topic line as it was
    QCOMPARE(s.dialogs.count(Kind::InputBox), 1);  // Find next asks nothing
}

void TestEditor::find_invalidConditionsEndSilently() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({1, 2, 3}));
    f.Command11.click();  // Find next before any Find first
    f.Command8.click();
    for (const char* typed : {"mondat = kutya", "mondat Like *ház*", "nincsilyen = 1", "", "sorszam = 'egy'",
                              "(sorszam = 1", "sorszam ="}) {
        s.dialogs.queueInput(QString::fromUtf8(typed));
        f.Command5.click();
        QCOMPARE(f.Text1.Text(), QStringLiteral("3"));
        f.Command11.click();
    }
    f.Command5.click();  // Cancel: the input box answers empty text
    QCOMPARE(f.Text1.Text(), QStringLiteral("3"));
    QCOMPARE(s.dialogs.count(Kind::Beep), 0);
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 0);
}

void TestEditor::find_hostileConditionsLeaveTheBankUnchanged() {
    testkit::Session s;
    Form1& f = startedEditor(s, bankfixture::smallBank());
    bankfixture::execSql(DbPath, "INSERT INTO hiba1 (hiba, mondat) VALUES (3, 'x')");
    const auto before = rowsOf(DbPath);
    const long failedBefore = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"))->RecordCount();
    QFile file(DbPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytesBefore = file.readAll();
    file.close();

    QStringList hostile{
        QStringLiteral("1 = 1; DROP TABLE test1"),
        QStringLiteral("sorszam = 1; DELETE FROM test1"),
        QStringLiteral("sorszam = 1 OR 1 = 1 --"),
        QStringLiteral("sorszam = 1); DROP TABLE hiba1; --"),
        QStringLiteral("mondat = '' ; UPDATE test1 SET a = 'x'"),
        QStringLiteral("sorszam IN (SELECT hiba FROM hiba1)"),
        QStringLiteral("[hiba1].[hiba] = 3"),
        QStringLiteral("hiba1.hiba = 3"),
        QStringLiteral("name Like '*' And type = 'table'"),
        QStringLiteral("sorszam = (SELECT max(sorszam) FROM test1)"),
        QStringLiteral("mondat Like '%' || (SELECT sql FROM sqlite_master) || '%'"),
        QStringLiteral("sorszam = 1\"; ATTACH DATABASE 'x.db' AS x; --"),
        QStringLiteral("mondat = 'a'' OR ''1''=''1'"),
        QStringLiteral("load_extension('x') = 1"),
        QString(200000, u'('),
        QStringLiteral("sorszam = 1 Or ").repeated(20000) + QStringLiteral("sorszam = 2"),
        QStringLiteral("mondat Like \"") + QString(100000, u'*') + QStringLiteral("x\""),
        QStringLiteral("mondat Like \"[") + QString(50000, u'a') + QStringLiteral("\""),
    };
    for (const QString& condition : hostile) {
        s.dialogs.queueInput(condition);
        f.Command5.click();
        s.dialogs.queueInput(condition);
        f.Command11.click();
    }
    QVERIFY(f.Loaded());
    QCOMPARE(s.dialogs.count(Kind::MsgBox), s.dialogs.count(Kind::Beep));  // only "No such word/number."
    const auto after = rowsOf(DbPath);
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        QCOMPARE(after[i].sorszam, before[i].sorszam);
        QCOMPARE(after[i].a, before[i].a);
        QCOMPARE(after[i].k1, before[i].k1);
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytesBefore);
    auto hiba = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("hiba1"));
    QCOMPARE(hiba->RecordCount(), failedBefore);
    QVERIFY(!QFile::exists(s.folder.filePath(QStringLiteral("x.db"))));
}

void TestEditor::topics_fileTheCurrentItem() {
    testkit::Session s;
    Form1& f = startedEditor(s, {item(1, "3", "x", 1, 1), item(2, "1", "a", 1, 2)});
    f.mnutopicItem(1).trigger();  // Verbs_&Tenses
    auto rows = rowsOf(DbPath);
    QCOMPARE(rows[0].k1, QStringLiteral("1"));
    QCOMPARE(rows[0].k2, QStringLiteral("a"));
    QCOMPARE(f.Label10.Caption(), QStringLiteral("Verbs_&Tenses"));
    QCOMPARE(f.Text1.Text(), QStringLiteral("1"));

    f.Command7.click();
    f.mnutopicItem(11).trigger();  // &Postpositions: kulcs2 stays
    rows = rowsOf(DbPath);
    QCOMPARE(rows[1].k1, QStringLiteral("2"));
    QCOMPARE(rows[1].k2, QStringLiteral("a"));
    QCOMPARE(f.Label10.Caption(), QStringLiteral("&Postpositions"));

    // Every position turns back into its own caption.
    for (int i = 0; i < 22; ++i) {
        f.mnutopicItem(i).trigger();
        QCOMPARE(f.Label10.Caption(), topicText(i));
    }
    // With no current row nothing changes.
    f.Command7.click();
    f.mnutopicItem(3).trigger();
    QCOMPARE(rowsOf(DbPath)[1].k1, QStringLiteral("a"));
    QVERIFY(s.dialogs.calls().empty());
}

void TestEditor::topics_newItemStoredThenFiled() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({1, 2, 3}));
    f.Command1.click();
    f.Text3.widget()->setFocus();
    testkit::typeText(f.Text3.widget(), QStringLiteral("Új mondat _____."));
    f.mnutopicItem(4).trigger();
    QCOMPARE(int(f.NewPending), 0);
    const auto rows = rowsOf(DbPath);
    const Row* added = rowWith(rows, 4);
    QVERIFY(added);
    QCOMPARE(added->mondat, QStringLiteral("Új mondat _____."));
    QCOMPARE(added->k1, QStringLiteral("1"));
    QCOMPARE(added->k2, QStringLiteral("d"));
    QCOMPARE(f.Text1.Text(), QStringLiteral("4"));  // the new item is current
    QCOMPARE(f.Label10.Caption(), topicText(4));
}

void TestEditor::leave_storesTypingAndOpensTheChosenWindow() {
    testkit::Session s;
    {
        Form1& f = startedEditor(s, serials({1, 2}));
        retype(f.Text4, QStringLiteral("javított"));
        f.Command2.click();  // Close
        QVERIFY(!f.Loaded());
        QVERIFY(tk::form<Quizsp>().Visible());
        QCOMPARE(rowWith(rowsOf(DbPath), 1)->a, QStringLiteral("javított"));
    }
    {
        tk::form<Quizsp>().Unload();
        Form1& f = tk::form<Form1>();
        f.Show();
        QVERIFY(f.Command10.Visible());  // a new load starts over
        f.Command10.click();
        f.Command1.click();
        f.Text3.widget()->setFocus();
        testkit::typeText(f.Text3.widget(), QStringLiteral("Gyakorló mondat."));
        f.mnuPractice.trigger();
        QVERIFY(!f.Loaded());
        QVERIFY(tk::form<Spgyak>().Visible());
        QVERIFY(rowWith(rowsOf(DbPath), 3));  // the begun item was stored
    }
    {
        tk::form<Spgyak>().Unload();
        Form1& f = tk::form<Form1>();
        f.Show();
        f.Command10.click();
        f.mnuTest.trigger();
        QVERIFY(!f.Loaded());
        QVERIFY(tk::form<Sptest>().Visible());
    }
    {
        tk::form<Sptest>().Unload();
        Form1& f = tk::form<Form1>();
        f.Show();
        f.Command10.click();
        f.mnuDatabase.trigger();  // the editor is open already
        QVERIFY(f.Visible());
        f.mnuQuizmora.trigger();
        QVERIFY(!f.Loaded());
        QVERIFY(tk::form<Quizsp>().Visible());
    }
    QVERIFY(s.dialogs.calls().empty());
}

void TestEditor::frameClose_behavesAsClose() {
    testkit::Session s;
    Form1& f = openEditor(s, serials({1, 2}));
    f.window()->close();  // before Start: back to the launcher
    QVERIFY(!f.Loaded());
    QVERIFY(tk::form<Quizsp>().Visible());
    tk::form<Quizsp>().Unload();

    f.Show();
    f.Command10.click();
    retype(f.Text5, QStringLiteral("ablakból"));
    f.window()->close();
    QVERIFY(!f.Loaded());
    QVERIFY(tk::form<Quizsp>().Visible());
    QCOMPARE(rowWith(rowsOf(DbPath), 1)->mondat, QStringLiteral("Mondat 1 _____."));
    auto rs = db::DBEngine::OpenDatabase(DbPath)->OpenDynaset(QStringLiteral("test1"));
    QCOMPARE(rs->field(QStringLiteral("b")).toString(), QStringLiteral("ablakból"));
    QVERIFY(s.dialogs.calls().empty());
}

void TestEditor::duplicateSerial_refusedAndTypingKept() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({1, 2, 3}), 116);
    // An edit of the shown item that repeats another item's number.
    retype(f.Text1, QStringLiteral("2"));
    retype(f.Text4, QStringLiteral("új"));
    f.Command7.click();
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    const auto box = s.dialogs.calls().back();
    QVERIFY(box.prompt.contains(QStringLiteral("2")));
    QCOMPARE(box.prompt, i18n::extraText(i18n::Extra::DuplicateSerial, 116).arg(2));
    QCOMPARE(box.title, QStringLiteral("Adatbázis"));
    QCOMPARE(f.Text1.Text(), QStringLiteral("2"));  // kept for correction
    QCOMPARE(f.Text4.Text(), QStringLiteral("új"));
    f.Command2.click();  // Close refuses as well
    QVERIFY(f.Loaded());
    f.window()->close();  // and so does the frame
    QVERIFY(f.Loaded());
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 3);
    auto rows = rowsOf(DbPath);
    QCOMPARE(rows.size(), std::size_t(3));
    QCOMPARE(rowWith(rows, 1)->a, QStringLiteral("a1"));

    retype(f.Text1, QStringLiteral("7"));  // corrected: stored by the move
    f.Command7.click();
    QCOMPARE(f.Text1.Text(), QStringLiteral("2"));
    rows = rowsOf(DbPath);
    QVERIFY(!rowWith(rows, 1));
    QCOMPARE(rowWith(rows, 7)->a, QStringLiteral("új"));

    // A new item given a number that is taken: refused by Find first's store.
    s.dialogs.clear();
    f.Command1.click();
    retype(f.Text1, QStringLiteral("3"));
    s.dialogs.queueInput(QStringLiteral("sorszam = 3"));
    f.Command5.click();
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 1);
    QCOMPARE(s.dialogs.count(Kind::InputBox), 0);
    QCOMPARE(int(f.NewPending), 1);
    QCOMPARE(f.Text1.Text(), QStringLiteral("3"));
    QCOMPARE(rowsOf(DbPath).size(), std::size_t(3));
}

void TestEditor::fonts_onlyTheFocusedBox() {
    testkit::Session s;
    Form1& f = startedEditor(s, serials({1, 2}));
    const tk::Font before2 = f.Text2.font();
    const tk::Font before3 = f.Text3.font();
    f.Text1.SetFocus();
    QCOMPARE(f.ActiveControl(), &f.Text1);
    s.dialogs.queueFont(tk::FontChoice{QStringLiteral("DejaVu Serif"), 14.5f, false, true, true, true});
    f.mnuFonts.trigger();
    const auto fonts = s.dialogs.callsOf(Kind::Font);
    QCOMPARE(fonts.size(), std::size_t(1));
    QCOMPARE(fonts[0].style, 259);
    const tk::Font now = f.Text1.font();
    QCOMPARE(now.name, QStringLiteral("DejaVu Serif"));
    QCOMPARE(now.size, 14.5);
    QVERIFY(!now.bold && now.italic && now.underline && now.strikethru);
    QCOMPARE(f.Text2.font().name, before2.name);
    QCOMPARE(f.Text2.font().size, before2.size);
    QCOMPARE(f.Text3.font().name, before3.name);

    f.mnuFonts.trigger();  // Cancel: nothing changes
    QCOMPARE(f.Text1.font().name, QStringLiteral("DejaVu Serif"));
    QCOMPARE(f.Text1.font().size, 14.5);
    QCOMPARE(s.dialogs.count(Kind::MsgBox), 0);
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
