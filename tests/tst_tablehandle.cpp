// Table handles found with one query before their rows are read (Seek "=",
// MoveFirst, MoveLast): from then on everything must be as in a handle that
// read its rows first. Each case compares a fresh handle with one made to
// read its rows at once, on a bank with gaps in its serial numbers, rows
// stored out of serial order and equal order keys.

#include <QTest>

#include "bankfixture.h"
#include "core/error.h"
#include "itembank/selection.h"

using bankfixture::item;
using bankfixture::errorOf;
using bankfixture::serial;
using bankfixture::TempBank;
using db::Value;

namespace {

// Serial numbers with gaps, stored out of order; order keys 700 and 3000
// appear more than once (equal keys go by storage order).
std::vector<itembank::Item> gappedBank() {
    return {
        item(13, "1", "0", 1, 700), item(2, "1", "a", 2, 3000), item(34, "1", "b", 3, 12),
        item(5, "2", "0", 1, 700),  item(55, "a", "3", 2, 1),   item(3, "1", "a", 1, 3000),
        item(21, "5", "9", 2, 700), item(8, "a", "1", 3, 450),
    };
}

std::shared_ptr<db::Recordset> handle(db::Database& database, const QString& index) {
    auto t = database.OpenTable(QStringLiteral("test1"));
    t->setIndex(index);
    return t;
}

// A handle that has read all its rows already.
std::shared_ptr<db::Recordset> wholeHandle(db::Database& database, const QString& index) {
    auto t = handle(database, index);
    t->RecordCount();
    return t;
}

// The serial numbers from the current row on to the end (or back to the
// start), then whether the set ended as it should.
QList<int> walk(db::Recordset& rs, bool forward) {
    QList<int> seen;
    while (forward ? !rs.isEOF() : !rs.isBOF()) {
        seen << (rs.hasCurrentRow() ? serial(rs) : -1);
        forward ? rs.MoveNext() : rs.MovePrevious();
    }
    seen << (forward ? (rs.isBOF() ? 1 : 0) : (rs.isEOF() ? 1 : 0));
    return seen;
}

}  // namespace

class TestTableHandle : public QObject {
    Q_OBJECT

private slots:
    void seekEqual_sameAsWholeList_data();
    void seekEqual_sameAsWholeList();
    void seekMiss_keepsRowAndNoMatch();
    void firstAndLast_sameAsWholeList();
    void editUpdate_afterSeek();
    void delete_afterSeek();
    void addNew_afterSeek();
    void rowDeletedElsewhere_afterSeek();
};

void TestTableHandle::seekEqual_sameAsWholeList_data() {
    // The key as written: a whole number, "8.5" a number with a fraction,
    // "'21" a text, "Null".
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("keyText");
    for (const char* k : {"2", "3", "5", "8", "13", "21", "34", "55", "1", "4", "22", "56", "0", "-1", "8.0", "8.5",
                          "'21", "'x", "Null"})
        QTest::newRow(qPrintable(QStringLiteral("sorszam %1").arg(QLatin1String(k))))
            << QStringLiteral("sorszam") << QString::fromLatin1(k);
    for (const char* k : {"700", "3000", "12", "1", "450", "451", "0"})
        QTest::newRow(qPrintable(QStringLiteral("sorrend %1").arg(QLatin1String(k))))
            << QStringLiteral("sorrend") << QString::fromLatin1(k);
}

void TestTableHandle::seekEqual_sameAsWholeList() {
    QFETCH(QString, index);
    QFETCH(QString, keyText);
    Value key;
    if (keyText.startsWith(QLatin1Char('\''))) key = Value(keyText.mid(1));
    else if (keyText.contains(QLatin1Char('.'))) key = Value(keyText.toDouble());
    else if (keyText != QLatin1String("Null")) key = Value(keyText.toInt());
    TempBank bank(gappedBank());
    auto database = bank.open();
    auto ref = wholeHandle(*database, index);
    ref->Seek(QStringLiteral("="), key);
    const bool refNoMatch = ref->NoMatch();
    const long refPos = ref->AbsolutePosition();
    const int refSerial = serial(*ref);
    const QList<int> refForward = walk(*ref, true);
    ref = wholeHandle(*database, index);
    ref->Seek(QStringLiteral("="), key);
    const QList<int> refBackward = walk(*ref, false);

    // Each question on a fresh handle, asked right after the Seek.
    auto lazy = handle(*database, index);
    lazy->Seek(QStringLiteral("="), key);
    QCOMPARE(lazy->NoMatch(), refNoMatch);
    QVERIFY(!lazy->isBOF() && !lazy->isEOF() && lazy->hasCurrentRow());
    QCOMPARE(serial(*lazy), refSerial);
    QCOMPARE(lazy->field(QStringLiteral("mondat")).toString(), QStringLiteral("Mondat %1 _____.").arg(refSerial));
    QCOMPARE(lazy->AbsolutePosition(), refPos);
    QCOMPARE(serial(*lazy), refSerial);

    lazy = handle(*database, index);
    lazy->Seek(QStringLiteral("="), key);
    QCOMPARE(lazy->RecordCount(), 8L);
    QCOMPARE(lazy->AbsolutePosition(), refPos);

    lazy = handle(*database, index);
    lazy->Seek(QStringLiteral("="), key);
    QCOMPARE(walk(*lazy, true), refForward);

    lazy = handle(*database, index);
    lazy->Seek(QStringLiteral("="), key);
    QCOMPARE(walk(*lazy, false), refBackward);

    // Other comparisons after a cheap Seek go by the whole list.
    lazy = handle(*database, index);
    lazy->Seek(QStringLiteral("="), key);
    ref = wholeHandle(*database, index);
    ref->Seek(QStringLiteral("="), key);
    ref->Seek(QStringLiteral(">"), key);
    lazy->Seek(QStringLiteral(">"), key);
    QCOMPARE(lazy->NoMatch(), ref->NoMatch());
    QCOMPARE(lazy->AbsolutePosition(), ref->AbsolutePosition());
}

void TestTableHandle::seekMiss_keepsRowAndNoMatch() {
    TempBank bank(gappedBank());
    auto database = bank.open();
    auto t = handle(*database, QStringLiteral("sorszam"));
    t->Seek(QStringLiteral("="), Value(5));
    QVERIFY(!t->NoMatch());
    t->Seek(QStringLiteral("="), Value(4));
    QVERIFY(t->NoMatch());
    QCOMPARE(serial(*t), 5);  // still where it was
    t->Seek(QStringLiteral("="), Value(40000));
    QVERIFY(t->NoMatch());
    QCOMPARE(serial(*t), 5);
    t->MoveNext();
    QCOMPARE(serial(*t), 8);
    QCOMPARE(t->AbsolutePosition(), 3L);
    // A miss then a hit clears NoMatch.
    t->Seek(QStringLiteral("="), Value(6));
    QVERIFY(t->NoMatch());
    t->Seek(QStringLiteral("="), Value(34));
    QVERIFY(!t->NoMatch());
    QCOMPARE(serial(*t), 34);
    // Kept open and sought many times (it reads its rows on the way): the
    // same answers throughout.
    const QList<int> serials{2, 3, 5, 8, 13, 21, 34, 55};
    auto kept = handle(*database, QStringLiteral("sorszam"));
    int standing = 2;
    for (int i = 0; i < 600; ++i) {
        const int key = i % 57;
        kept->Seek(QStringLiteral("="), Value(key));
        QCOMPARE(kept->NoMatch(), !serials.contains(key));
        if (!kept->NoMatch()) standing = key;
        QCOMPARE(serial(*kept), standing);
    }
    QCOMPARE(kept->AbsolutePosition(), long(serials.indexOf(standing)));
    // A comparison the handle does not know is refused either way.
    auto fresh = handle(*database, QStringLiteral("sorszam"));
    QCOMPARE(errorOf([&] { fresh->Seek(QStringLiteral("=="), Value(5)); }), int(qz::ErrInvalidCall));
}

void TestTableHandle::firstAndLast_sameAsWholeList() {
    TempBank bank(gappedBank());
    auto database = bank.open();
    for (const QString& index : {QStringLiteral("sorszam"), QStringLiteral("sorrend")}) {
        auto ref = wholeHandle(*database, index);
        ref->MoveLast();
        const int last = serial(*ref);
        ref->MoveFirst();
        const int first = serial(*ref);

        auto t = handle(*database, index);
        t->MoveLast();
        QCOMPARE(serial(*t), last);
        QCOMPARE(t->field(QStringLiteral("a")).toString(), QStringLiteral("a%1").arg(last));
        t->MoveNext();
        QVERIFY(t->isEOF() && !t->isBOF());
        QCOMPARE(t->AbsolutePosition(), -1L);
        QCOMPARE(errorOf([&] { t->MoveNext(); }), int(qz::ErrNoCurrentRow));
        t->MovePrevious();
        QCOMPARE(serial(*t), last);
        QCOMPARE(t->AbsolutePosition(), 7L);

        t = handle(*database, index);
        t->MoveLast();
        QCOMPARE(t->AbsolutePosition(), 7L);
        t->MoveFirst();
        QCOMPARE(serial(*t), first);
        t->MovePrevious();
        QVERIFY(t->isBOF() && !t->isEOF());
        QCOMPARE(errorOf([&] { t->field(QStringLiteral("a")); }), int(qz::ErrNoCurrentRow));
        t->MoveNext();
        QCOMPARE(serial(*t), first);
        QCOMPARE(t->AbsolutePosition(), 0L);
    }
    // The random draw: the highest serial number, then only existing ones.
    auto t = handle(*database, QStringLiteral("sorszam"));
    std::int16_t max = 0;
    std::vector<float> fractions{0.0f, 0.05f};  // keys 1 (no such item), then 3
    std::size_t next = 0;
    itembank::drawItem(*t, max, [&] { return fractions[next++ % fractions.size()]; });
    QCOMPARE(int(max), 55);
    QCOMPARE(serial(*t), 3);
    QCOMPARE(t->AbsolutePosition(), 1L);
}

void TestTableHandle::editUpdate_afterSeek() {
    TempBank bank(gappedBank());
    auto database = bank.open();
    auto t = handle(*database, QStringLiteral("sorszam"));
    t->Seek(QStringLiteral("="), Value(8));
    t->Edit();
    t->Fields(QStringLiteral("mondat")) = Value(QStringLiteral("Új mondat & más"));
    t->Update();
    QCOMPARE(t->field(QStringLiteral("mondat")).toString(), QStringLiteral("Új mondat & más"));
    QCOMPARE(serial(*t), 8);
    t->MoveNext();
    QCOMPARE(serial(*t), 13);

    auto other = handle(*database, QStringLiteral("sorszam"));
    other->Seek(QStringLiteral("="), Value(8));
    QCOMPARE(other->field(QStringLiteral("mondat")).toString(), QStringLiteral("Új mondat & más"));
    // Only the row sought was written.
    other->Seek(QStringLiteral("="), Value(13));
    QCOMPARE(other->field(QStringLiteral("mondat")).toString(), QStringLiteral("Mondat 13 _____."));
    // An edit left by a move is dropped, and the move goes from the row sought.
    other->Seek(QStringLiteral("="), Value(21));
    other->Edit();
    other->Fields(QStringLiteral("mondat")) = Value(QStringLiteral("dropped"));
    other->MovePrevious();
    QCOMPARE(serial(*other), 13);
    QCOMPARE(other->EditMode(), int(db::dbEditNone));
    other->MoveNext();
    QCOMPARE(other->field(QStringLiteral("mondat")).toString(), QStringLiteral("Mondat 21 _____."));
}

void TestTableHandle::delete_afterSeek() {
    TempBank bank(gappedBank());
    auto database = bank.open();
    auto t = handle(*database, QStringLiteral("sorszam"));
    t->Seek(QStringLiteral("="), Value(13));
    t->Delete();
    QCOMPARE(errorOf([&] { t->field(QStringLiteral("mondat")); }), int(qz::ErrDeletedRow));
    QVERIFY(!t->isEOF() && !t->isBOF());
    QCOMPARE(t->AbsolutePosition(), -1L);
    QCOMPARE(t->RecordCount(), 7L);
    t->MoveNext();  // the row that followed
    QCOMPARE(serial(*t), 21);
    QCOMPARE(t->AbsolutePosition(), 4L);

    // The last row deleted: the next move ends the set.
    t = handle(*database, QStringLiteral("sorszam"));
    t->MoveLast();
    t->Delete();
    t->MoveNext();
    QVERIFY(t->isEOF());
    t->MovePrevious();
    QCOMPARE(serial(*t), 34);

    auto other = handle(*database, QStringLiteral("sorszam"));
    other->Seek(QStringLiteral("="), Value(13));
    QVERIFY(other->NoMatch());
    QCOMPARE(other->RecordCount(), 6L);
}

void TestTableHandle::addNew_afterSeek() {
    TempBank bank(gappedBank());
    auto database = bank.open();
    auto t = handle(*database, QStringLiteral("sorszam"));
    t->Seek(QStringLiteral("="), Value(8));
    t->AddNew();
    const itembank::Item it = item(9, "1", "0", 1, 5);
    t->Fields(QStringLiteral("sorszam")) = Value(9);
    t->Fields(QStringLiteral("kulcs1")) = Value(it.kulcs1);
    t->Fields(QStringLiteral("kulcs2")) = Value(it.kulcs2);
    t->Fields(QStringLiteral("szint")) = Value(1);
    t->Fields(QStringLiteral("sorrend2")) = Value(5);
    t->Fields(QStringLiteral("mondat")) = Value(it.mondat);
    t->Update();
    QCOMPARE(serial(*t), 8);  // back on the row it stood on
    QCOMPARE(t->AbsolutePosition(), 3L);
    t->MoveNext();
    QCOMPARE(serial(*t), 9);
    QCOMPARE(t->RecordCount(), 9L);

    // Cancelled, it stands on the row sought again.
    t = handle(*database, QStringLiteral("sorszam"));
    t->Seek(QStringLiteral("="), Value(21));
    t->AddNew();
    t->CancelUpdate();
    QCOMPARE(serial(*t), 21);
    t->MovePrevious();
    QCOMPARE(serial(*t), 13);
}

void TestTableHandle::rowDeletedElsewhere_afterSeek() {
    TempBank bank(gappedBank());
    auto database = bank.open();
    auto ref = wholeHandle(*database, QStringLiteral("sorszam"));
    ref->Seek(QStringLiteral("="), Value(8));
    auto t = handle(*database, QStringLiteral("sorszam"));
    t->Seek(QStringLiteral("="), Value(8));
    bankfixture::execSql(bank.path(), "DELETE FROM test1 WHERE sorszam = 8;");
    for (auto rs : {ref, t}) {
        QCOMPARE(errorOf([&] { rs->field(QStringLiteral("mondat")); }), int(qz::ErrDeletedRow));
        QCOMPARE(rs->AbsolutePosition(), 3L);
        rs->MoveNext();
        QCOMPARE(serial(*rs), 13);
        rs->MovePrevious();
        rs->MovePrevious();
        QCOMPARE(serial(*rs), 5);
    }
}

QTEST_GUILESS_MAIN(TestTableHandle)
#include "tst_tablehandle.moc"
