// The data control: opening after load, bound labels and text boxes,
// save-on-move, the arrows, errors at open, and unloading.

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "bankfixture.h"
#include "databind/datacontrol.h"
#include "databind/fieldmap.h"
#include "itembank/database.h"
#include "testkit.h"

namespace {

class Viewer : public tk::Form {
public:
    Viewer() : tk::Form(QStringLiteral("Viewer")) {}
    tk::DataControl Data1{this, QStringLiteral("Data1")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::TextBox Text1{this, QStringLiteral("Text1")};
    tk::TextBox Text2{this, QStringLiteral("Text2")};
    QString path;
    int errors = 0;

protected:
    void design() override {
        setClientSize(6000, 3000);
        setCaption(QStringLiteral("Viewer"));
        Data1.create(*this, 120, 2400, 4000, 360, QStringLiteral("Data1"))
            .setConnect(QStringLiteral("Access 2000;"))
            .setRecordSource(QStringLiteral("test1"));
        Label1.create(*this, 120, 120, 4000, 300).setDataSource(Data1, QStringLiteral("mondat"));
        Text1.create(*this, 120, 600, 4000, 300).setDataSource(Data1, QStringLiteral("felelet1"));
        Text2.create(*this, 120, 1000, 1000, 300).setDataSource(Data1, QStringLiteral("szint"));
    }
    void Form_Load() override { Data1.setDatabaseName(path); }
};

// Labels filled by one field map from whatever record set a handler holds.
class Item : public tk::Form {
public:
    Item() : tk::Form(QStringLiteral("Item")) {}
    tk::Label Label13{this, QStringLiteral("Label13")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::TextBox Text9{this, QStringLiteral("Text9")};
    tk::FieldMap map;

protected:
    void design() override {
        setClientSize(6000, 2000);
        Label13.create(*this, 120, 120, 4000, 300, QStringLiteral("&Design caption"));
        Label1.create(*this, 120, 600, 4000, 300);
        Text9.create(*this, 120, 1000, 1000, 300);
        map = tk::FieldMap();
        map.add(Label13, QStringLiteral("mondat")).add(Label1, QStringLiteral("a")).add(Text9, QStringLiteral("sorszam"));
    }
};

void type(tk::TextBox& box, const QString& text) {
    auto* edit = static_cast<QLineEdit*>(box.widget());
    edit->selectAll();
    testkit::typeText(edit, text);
}

}  // namespace

class TestDataControl : public QObject {
    Q_OBJECT

private slots:
    void bound_showCurrentRowOrNothing();
    void saveOnMove_typedTextAndNewRows();
    void saveOnMove_refusedStoreKeepsTextAndRow();
    void refreshAndUnload_storePendingEdits();
    void arrows_moveTheSet();
    void openError_reportedAndKept();
    void fieldMap_fillsFromAnySetAsStored();
};

void TestDataControl::fieldMap_fillsFromAnySetAsStored() {
    testkit::Session s;
    auto items = bankfixture::smallBank();
    items[2].mondat = QStringLiteral("Tom && Jerry & _____ &Co");
    items[2].a = QStringLiteral("&A");
    bankfixture::TempBank bank(items);
    auto database = bank.open();
    Item& w = tk::form<Item>();
    w.Show();

    auto table = database->OpenTable(QStringLiteral("test1"));
    table->setIndex(QStringLiteral("sorszam"));
    table->Seek(QStringLiteral("="), db::Value(3));
    w.map.fill(*table);
    QCOMPARE(w.Label13.Caption(), QStringLiteral("Tom && Jerry & _____ &Co"));
    // Shown exactly as stored: no access key, no doubled ampersand folded.
    auto* label = static_cast<QLabel*>(w.Label13.widget());
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), QStringLiteral("Tom && Jerry & _____ &Co"));
    QCOMPARE(label->accessibleName(), QStringLiteral("Tom && Jerry & _____ &Co"));
    QCOMPARE(static_cast<QLabel*>(w.Label1.widget())->text(), QStringLiteral("&A"));
    QCOMPARE(w.Text9.Text(), QStringLiteral("3"));
    QVERIFY(!w.Text9.DataChanged());  // shown from data, not typed

    auto snapshot = database->CreateSnapshot(QStringLiteral("test1"));
    snapshot->MoveLast();
    w.map.fill(*snapshot, QStringLiteral(" "));
    QCOMPARE(w.Label13.Caption(), QStringLiteral(" Mondat 10 _____."));
    QCOMPARE(w.Text9.Text(), QStringLiteral(" 10"));

    auto dynaset = database->OpenDynaset(QStringLiteral("test1"));
    dynaset->MoveFirst();
    w.map.fill(*dynaset);
    QCOMPARE(w.Label1.Caption(), QStringLiteral("a1"));

    // Without a current row the engine refuses and nothing changes.
    dynaset->MovePrevious();
    QVERIFY_THROWS_EXCEPTION(qz::Error, w.map.fill(*dynaset));
    QCOMPARE(w.Label1.Caption(), QStringLiteral("a1"));
    w.map.clear();
    QCOMPARE(w.Label13.Caption(), QString());
    QCOMPARE(w.Text9.Text(), QString());
}

void TestDataControl::bound_showCurrentRowOrNothing() {
    testkit::Session s;
    bankfixture::TempBank bank;
    Viewer& v = tk::form<Viewer>();
    v.path = bank.path();
    v.Show();
    QVERIFY(v.Data1.isOpen());
    QCOMPARE(v.Label1.Caption(), QStringLiteral("Mondat 1 _____."));
    QCOMPARE(v.Text1.Text(), QStringLiteral("Megoldás 1"));
    QCOMPARE(v.Text2.Text(), QStringLiteral("1"));
    auto rs = v.Data1.Recordset();
    rs->MoveNext();
    QCOMPARE(v.Label1.Caption(), QStringLiteral("Mondat 2 _____."));
    rs->MoveFirst();
    rs->MovePrevious();
    QCOMPARE(v.Label1.Caption(), QString());
    QCOMPARE(v.Text1.Text(), QString());
    rs->MoveLast();
    rs->Delete();
    QCOMPARE(v.Label1.Caption(), QString());
    QVERIFY(!v.Text1.DataChanged());
}

void TestDataControl::saveOnMove_typedTextAndNewRows() {
    testkit::Session s;
    bankfixture::TempBank bank;
    Viewer& v = tk::form<Viewer>();
    v.path = bank.path();
    v.Show();
    auto rs = v.Data1.Recordset();

    type(v.Text1, QStringLiteral("Javított megoldás"));
    QVERIFY(v.Text1.DataChanged());
    rs->MoveNext();
    QVERIFY(!v.Text1.DataChanged());
    auto other = bank.open()->OpenDynaset(QStringLiteral("test1"));
    QCOMPARE(other->field(QStringLiteral("felelet1")).toString(), QStringLiteral("Javított megoldás"));

    // A row begun with AddNew, with typed and code-set fields, is stored by a move.
    rs->AddNew();
    QCOMPARE(v.Text1.Text(), QString());
    rs->Fields(QStringLiteral("sorszam")) = 11;
    type(v.Text1, QStringLiteral("Új megoldás"));
    v.Text2.setText(QStringLiteral("3"));
    rs->MoveFirst();
    QCOMPARE(rs->RecordCount(), 11L);
    rs->MoveLast();
    QCOMPARE(rs->field(QStringLiteral("felelet1")).toString(), QStringLiteral("Új megoldás"));
    QCOMPARE(rs->field(QStringLiteral("szint")).toInt(), 3);

    // Update stores what was typed together with the begun row.
    rs->AddNew();
    rs->Fields(QStringLiteral("sorszam")) = 12;
    type(v.Text1, QStringLiteral("Tizenkettő"));
    rs->Update();
    rs->MoveLast();
    QCOMPARE(rs->field(QStringLiteral("felelet1")).toString(), QStringLiteral("Tizenkettő"));
}

void TestDataControl::saveOnMove_refusedStoreKeepsTextAndRow() {
    testkit::Session s;
    bankfixture::TempBank bank;
    Viewer& v = tk::form<Viewer>();
    v.path = bank.path();
    v.Show();
    auto rs = v.Data1.Recordset();
    type(v.Text2, QStringLiteral("három"));  // not a number
    QVERIFY_THROWS_EXCEPTION(qz::Error, rs->MoveNext());
    QCOMPARE(rs->field(QStringLiteral("sorszam")).toInt(), 1);  // the move did not happen
    QCOMPARE(v.Text2.Text(), QStringLiteral("három"));      // nothing typed is lost
    type(v.Text2, QStringLiteral("2"));
    rs->MoveNext();
    rs->MoveFirst();
    QCOMPARE(rs->field(QStringLiteral("szint")).toInt(), 2);
}

void TestDataControl::refreshAndUnload_storePendingEdits() {
    testkit::Session s;
    bankfixture::TempBank bank;
    Viewer& v = tk::form<Viewer>();
    v.path = bank.path();
    v.Show();
    auto rs = v.Data1.Recordset();
    rs->MoveNext();
    type(v.Text1, QStringLiteral("Frissítés előtt"));
    v.Data1.Refresh();
    QCOMPARE(rs->field(QStringLiteral("sorszam")).toInt(), 1);  // a refresh stands on the first row
    rs->MoveNext();
    QCOMPARE(v.Text1.Text(), QStringLiteral("Frissítés előtt"));

    type(v.Text1, QStringLiteral("Bezárás előtt"));
    v.Unload();
    QVERIFY(!v.Data1.isOpen());
    QVERIFY_THROWS_EXCEPTION(qz::Error, v.Data1.Recordset());
    auto check = bank.open()->OpenDynaset(QStringLiteral("test1"));
    check->MoveNext();
    QCOMPARE(check->field(QStringLiteral("felelet1")).toString(), QStringLiteral("Bezárás előtt"));
    // Loading again opens a fresh view on the first row.
    v.Show();
    QCOMPARE(v.Data1.Recordset()->field(QStringLiteral("sorszam")).toInt(), 1);
}

void TestDataControl::arrows_moveTheSet() {
    testkit::Session s;
    bankfixture::TempBank bank;
    Viewer& v = tk::form<Viewer>();
    v.path = bank.path();
    v.Show();
    auto arrow = [&](const char* name) {
        QTest::mouseClick(v.window()->findChild<QToolButton*>(QStringLiteral("Data1_%1").arg(QLatin1String(name))),
                          Qt::LeftButton);
    };
    arrow("Next");
    QCOMPARE(v.Label1.Caption(), QStringLiteral("Mondat 2 _____."));
    arrow("Last");
    arrow("Next");  // stays on the last row
    QCOMPARE(v.Label1.Caption(), QStringLiteral("Mondat 10 _____."));
    arrow("First");
    arrow("Previous");  // stays on the first row
    QCOMPARE(v.Label1.Caption(), QStringLiteral("Mondat 1 _____."));
}

void TestDataControl::openError_reportedAndKept() {
    testkit::Session s;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qz_data.mdb"));
    QVERIFY(bankfixture::writeFile(path, "not an item bank"));
    Viewer& v = tk::form<Viewer>();
    v.path = path;
    v.Show();
    QVERIFY(v.Loaded());
    QVERIFY(!v.Data1.isOpen());
    QVERIFY(v.Data1.openError().contains(path));
    const auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].style, int(tk::vbCritical));
    QVERIFY(boxes[0].prompt.contains(path));
    try {
        v.Data1.Recordset();
        QFAIL("no record set without an open view");
    } catch (const qz::Error& e) {
        QVERIFY(e.message().contains(path));
    }
}

QTEST_MAIN(TestDataControl)
#include "tst_datacontrol.moc"
