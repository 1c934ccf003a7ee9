// A snapshot of a whole table reads its numbers at once and its texts when
// first needed, yet stays a copy of the file as it was when it was made:
// writes by this program, through any connection, come after the copy has
// read the rest; a filter or sort on a text field reads that field whole;
// once everything is read the copy lets go of its own connection.

#include <QDir>
#include <QTest>

#include "bankfixture.h"
#include "itembank/selection.h"

using bankfixture::item;
using bankfixture::openFiles;
using bankfixture::TempBank;

namespace {

std::vector<itembank::Item> manyItems(int n) {
    std::vector<itembank::Item> items;
    for (int i = 1; i <= n; ++i) items.push_back(item(i, i % 2 ? "1" : "2", "a", 1 + i % 3, 1 + (i * 7) % 3000));
    return items;
}

QString mondat(db::Recordset& rs) { return rs.field(QStringLiteral("mondat")).toString(); }

}  // namespace

class TestSnapshot : public QObject {
    Q_OBJECT

private slots:
    void writesThroughAnyConnection_keepTheCopyAsItWas();
    void transactionOfManyWrites_keepsTheCopy();
    void textFilterAndSort_readTheFieldWhole();
    void everythingRead_letsGoOfItsConnection();
    void rowGoneFromTheFile_readsAsEmpty();
};

void TestSnapshot::writesThroughAnyConnection_keepTheCopyAsItWas() {
    TempBank bank;
    auto reader = bank.open();
    auto whole = reader->CreateSnapshot(QStringLiteral("test1"));
    auto ordered = itembank::selectItems(*reader, QString::fromUtf8(itembank::kAllLevels));
    QCOMPARE(ordered->field(QStringLiteral("sorszam")).toInt(), 10);  // numbers only so far

    // Another database object of this program changes row 1 and deletes row 2.
    auto writer = bank.open();
    auto live = writer->OpenDynaset(QStringLiteral("test1"));
    live->Edit();
    live->Fields(QStringLiteral("mondat")) = QStringLiteral("Új mondat.");
    live->Fields(QStringLiteral("felelet2")) = QStringLiteral("D");
    live->Update();
    live->MoveNext();
    live->Delete();

    QCOMPARE(mondat(*whole), QStringLiteral("Mondat 1 _____."));
    QCOMPARE(whole->field(QStringLiteral("felelet2")).toString(), QStringLiteral("A"));
    whole->MoveNext();
    QCOMPARE(mondat(*whole), QStringLiteral("Mondat 2 _____."));
    QCOMPARE(whole->field(QStringLiteral("a")).toString(), QStringLiteral("a2"));
    QCOMPARE(whole->RecordCount(), 10L);
    QCOMPARE(mondat(*ordered), QStringLiteral("Mondat 10 _____."));
    // A new snapshot sees the file as it is now.
    auto now = reader->CreateSnapshot(QStringLiteral("test1"));
    QCOMPARE(now->RecordCount(), 9L);
    QCOMPARE(mondat(*now), QStringLiteral("Új mondat."));
}

void TestSnapshot::transactionOfManyWrites_keepsTheCopy() {
    TempBank bank(manyItems(300));
    auto reader = bank.open();
    auto whole = reader->CreateSnapshot(QStringLiteral("test1"));
    auto writer = bank.open();
    {
        db::Transaction t(*writer);
        auto live = writer->OpenDynaset(QStringLiteral("test1"));
        for (; !live->isEOF(); live->MoveNext()) {
            live->Edit();
            live->Fields(QStringLiteral("mondat")) = QStringLiteral("x");
            live->Update();
        }
        t.commit();
    }
    whole->MoveLast();
    QCOMPARE(mondat(*whole), QStringLiteral("Mondat 300 _____."));
    // A snapshot made inside a transaction sees that transaction's changes.
    db::Transaction t(*writer);
    auto live = writer->OpenDynaset(QStringLiteral("test1"));
    live->Edit();
    live->Fields(QStringLiteral("mondat")) = QStringLiteral("y");
    live->Update();
    auto inside = writer->CreateSnapshot(QStringLiteral("test1"));
    QCOMPARE(mondat(*inside), QStringLiteral("y"));
}

void TestSnapshot::textFilterAndSort_readTheFieldWhole() {
    TempBank bank;
    auto database = bank.open();
    auto whole = database->CreateSnapshot(QStringLiteral("Test1"));
    whole->setFilter(QString::fromUtf8(itembank::kTopics[1].criterion));  // kulcs1 = '1' And kulcs2 = 'a'
    auto verbs = whole->CreateSnapshot();
    QCOMPARE(verbs->RecordCount(), 2L);
    QCOMPARE(mondat(*verbs), QStringLiteral("Mondat 2 _____."));
    whole->setFilter(QString());
    whole->setSort(QStringLiteral("kulcs1 DESC, sorszam"));
    auto byKey = whole->CreateSnapshot();
    QCOMPARE(byKey->field(QStringLiteral("sorszam")).toInt(), 5);  // "a" sorts after the digits
    QCOMPARE(byKey->field(QStringLiteral("kulcs2")).toString(), QStringLiteral("3"));
    // The serial number, read with the texts, still sorts and filters.
    whole->setSort(QStringLiteral("sorszam DESC"));
    whole->setFilter(QStringLiteral("sorszam < 9"));
    auto bySerial = whole->CreateSnapshot();
    QCOMPARE(bySerial->RecordCount(), 8L);
    QCOMPARE(bySerial->field(QStringLiteral("sorszam")).toInt(), 8);
    whole->setFilter(QString());
    // Sort by the order key in both directions, equal keys in table order.
    TempBank ties({item(1, "1", "0", 1, 7), item(2, "1", "0", 1, 3), item(3, "1", "0", 1, 7), item(4, "1", "0", 1, 3)});
    auto t = ties.open()->CreateSnapshot(QStringLiteral("test1"));
    for (const auto& [sort, expected] : {std::pair{"sorrend2", QList<int>{2, 4, 1, 3}},
                                         std::pair{"sorrend2 DESC", QList<int>{1, 3, 2, 4}}}) {
        t->setSort(QString::fromLatin1(sort));
        auto sorted = t->CreateSnapshot();
        QList<int> serials;
        for (; !sorted->isEOF(); sorted->MoveNext()) serials << int(sorted->field(QStringLiteral("sorszam")).toInt());
        QCOMPARE(serials, expected);
    }
}

void TestSnapshot::everythingRead_letsGoOfItsConnection() {
    TempBank bank(manyItems(300));
    auto database = bank.open();
    const int before = openFiles();
    auto whole = database->CreateSnapshot(QStringLiteral("test1"));
    QVERIFY(openFiles() <= before + 1);  // at most its own connection, while it reads on demand
    // Showing row after row: after a few hundred, the rest is read at once.
    QStringList seen;
    for (; !whole->isEOF(); whole->MoveNext()) seen << mondat(*whole);
    QCOMPARE(seen.size(), 300);
    QCOMPARE(seen.last(), QStringLiteral("Mondat 300 _____."));
    QCOMPARE(openFiles(), before);
    // The same copy serves the next snapshot of the unchanged file.
    auto again = database->CreateSnapshot(QStringLiteral("test1"));
    QCOMPARE(openFiles(), before);
    QCOMPARE(mondat(*again), QStringLiteral("Mondat 1 _____."));
}

void TestSnapshot::rowGoneFromTheFile_readsAsEmpty() {
    // Another program deleting a row the copy has not read yet: the copy
    // still has the row, with the numbers it read at once (level, order
    // key) and empty fields for the rest; nothing fails.
    TempBank bank;
    auto database = bank.open();
    auto whole = database->CreateSnapshot(QStringLiteral("test1"));
    bankfixture::execSql(bank.path(), "DELETE FROM test1 WHERE sorszam = 1");
    QCOMPARE(whole->field(QStringLiteral("sorrend2")).toInt(), 430);
    QCOMPARE(whole->field(QStringLiteral("szint")).toInt(), 1);
    QVERIFY(whole->field(QStringLiteral("mondat")).isNull());
    QVERIFY(whole->field(QStringLiteral("sorszam")).isNull());
    whole->MoveNext();
    QCOMPARE(whole->field(QStringLiteral("sorszam")).toInt(), 2);
}

QTEST_MAIN(TestSnapshot)
#include "tst_snapshot.moc"
