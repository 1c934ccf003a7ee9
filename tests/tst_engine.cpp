// The item-bank engine: cursor rules, editing, live views, table handles,
// snapshots, names without regard to case, the item-bank file and its refusal
// of foreign files, read-only banks.

#include <QCryptographicHash>
#include <QTest>

#include "bankfixture.h"
#include "core/error.h"

using bankfixture::errorOf;
using bankfixture::fileHash;
using bankfixture::serial;
using bankfixture::TempBank;
using db::Value;

class TestEngine : public QObject {
    Q_OBJECT

private slots:
    void cursor_rules_data();
    void cursor_rules();
    void cursor_emptySet();
    void dynaset_addNewUpdateDelete();
    void dynaset_editRules();
    void dynaset_liveAcrossViews();
    void dynaset_hiba1InAppendOrder();
    void dynaset_findFirstNext();
    void table_indexAndSeek();
    void snapshot_sortFilterStatic();
    void names_withoutRegardToCase();
    void values_conversions();
    void file_createdWhenMissing();
    void file_foreignFilesRefusedUntouched_data();
    void file_foreignFilesRefusedUntouched();
    void file_readOnly();
    void transaction_manyRowsOneCommit();
};

void TestEngine::cursor_rules_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("dynaset") << int(db::dbOpenDynaset);
    QTest::newRow("table") << int(db::dbOpenTable);
    QTest::newRow("snapshot") << int(db::dbOpenSnapshot);
}

void TestEngine::cursor_rules() {
    QFETCH(int, kind);
    TempBank bank;
    auto database = bank.open();
    std::shared_ptr<db::Recordset> rs;
    if (kind == db::dbOpenDynaset) rs = database->OpenDynaset(QStringLiteral("test1"));
    else if (kind == db::dbOpenTable) {
        rs = database->OpenTable(QStringLiteral("test1"));
        rs->setIndex(QStringLiteral("sorszam"));
    } else {
        auto s = database->CreateSnapshot(QStringLiteral("test1"));
        s->setSort(QStringLiteral("sorszam"));
        rs = s->CreateSnapshot();
    }
    QCOMPARE(rs->Type(), kind);
    QCOMPARE(rs->RecordCount(), 10L);
    // A fresh set stands on its first row.
    QVERIFY(!rs->isBOF() && !rs->isEOF());
    QCOMPARE(serial(*rs), 1);
    QCOMPARE(rs->AbsolutePosition(), 0L);

    // Back from the first row: before the first row, no current row.
    rs->MovePrevious();
    QVERIFY(rs->isBOF());
    QVERIFY(!rs->isEOF());
    QCOMPARE(rs->AbsolutePosition(), -1L);
    QCOMPARE(errorOf([&] { rs->field(QStringLiteral("mondat")); }), int(qz::ErrNoCurrentRow));
    QCOMPARE(errorOf([&] { rs->MovePrevious(); }), int(qz::ErrNoCurrentRow));
    rs->MoveNext();
    QCOMPARE(serial(*rs), 1);

    rs->MoveLast();
    QCOMPARE(serial(*rs), 10);
    QCOMPARE(rs->AbsolutePosition(), 9L);
    rs->MoveNext();
    QVERIFY(rs->isEOF());
    QVERIFY(!rs->isBOF());
    QCOMPARE(rs->AbsolutePosition(), -1L);
    QCOMPARE(errorOf([&] { rs->MoveNext(); }), int(qz::ErrNoCurrentRow));
    rs->MovePrevious();
    QCOMPARE(serial(*rs), 10);
    rs->MoveFirst();
    rs->MoveNext();
    rs->MoveNext();
    QCOMPARE(serial(*rs), 3);
    QCOMPARE(rs->AbsolutePosition(), 2L);
    QCOMPARE(errorOf([&] { rs->field(QStringLiteral("nosuchfield")); }), int(qz::ErrUnknownField));
}

void TestEngine::cursor_emptySet() {
    TempBank bank(std::vector<itembank::Item>{});
    auto database = bank.open();
    for (auto rs : {database->OpenDynaset(QStringLiteral("test1")), database->OpenTable(QStringLiteral("test1")),
                    database->CreateSnapshot(QStringLiteral("test1"))}) {
        QVERIFY(rs->isBOF() && rs->isEOF());
        QCOMPARE(rs->RecordCount(), 0L);
        QCOMPARE(errorOf([&] { rs->MoveFirst(); }), int(qz::ErrNoCurrentRow));
        QCOMPARE(errorOf([&] { rs->MoveLast(); }), int(qz::ErrNoCurrentRow));
        QCOMPARE(errorOf([&] { rs->MoveNext(); }), int(qz::ErrNoCurrentRow));
        QCOMPARE(errorOf([&] { rs->field(QStringLiteral("sorszam")); }), int(qz::ErrNoCurrentRow));
    }
}

void TestEngine::dynaset_addNewUpdateDelete() {
    TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    rs->MoveNext();
    rs->MoveNext();
    QCOMPARE(serial(*rs), 3);

    // After Update of a new row, the row current before AddNew is current again.
    rs->AddNew();
    QCOMPARE(rs->EditMode(), int(db::dbEditAdd));
    QVERIFY(rs->field(QStringLiteral("mondat")).isNull());
    rs->Fields(QStringLiteral("sorszam")) = 11;
    rs->Fields(QStringLiteral("mondat")) = QStringLiteral("Új mondat _____.");
    rs->Fields(QStringLiteral("sorrend2")) = 77;
    rs->Update();
    QCOMPARE(rs->EditMode(), int(db::dbEditNone));
    QCOMPARE(serial(*rs), 3);
    QCOMPARE(rs->RecordCount(), 11L);
    rs->MoveLast();
    QCOMPARE(serial(*rs), 11);
    QCOMPARE(rs->field(QStringLiteral("mondat")).toString(), QStringLiteral("Új mondat _____."));

    // Moving without Update drops a begun row.
    rs->AddNew();
    rs->Fields(QStringLiteral("sorszam")) = 12;
    rs->MoveFirst();
    QCOMPARE(rs->RecordCount(), 11L);

    // A duplicate serial number is refused, and the edit stays open.
    rs->AddNew();
    rs->Fields(QStringLiteral("sorszam")) = 5;
    QCOMPARE(errorOf([&] { rs->Update(); }), int(qz::ErrDuplicateKey));
    QCOMPARE(rs->EditMode(), int(db::dbEditAdd));
    rs->CancelUpdate();

    // Delete: no current row until a move; the next move goes on from there.
    rs->MoveFirst();
    rs->MoveNext();  // item 2
    rs->Delete();
    QCOMPARE(errorOf([&] { rs->field(QStringLiteral("sorszam")); }), int(qz::ErrDeletedRow));
    QCOMPARE(rs->AbsolutePosition(), -1L);
    QVERIFY(!rs->isEOF() && !rs->isBOF());
    rs->MoveNext();
    QCOMPARE(serial(*rs), 3);
    // Deleting the first row and moving back leaves the set before its first row.
    rs->MoveFirst();
    rs->Delete();
    rs->MovePrevious();
    QVERIFY(rs->isBOF());
    rs->MoveNext();
    QCOMPARE(serial(*rs), 3);
    // Deleting the last row and moving on leaves it after the last row.
    rs->MoveLast();
    rs->Delete();
    QVERIFY(!rs->isEOF());
    rs->MoveNext();
    QVERIFY(rs->isEOF());
    QCOMPARE(rs->RecordCount(), 8L);
}

void TestEngine::dynaset_editRules() {
    TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    QCOMPARE(errorOf([&] { rs->Update(); }), int(qz::ErrUpdateWithoutEdit));
    QCOMPARE(errorOf([&] { rs->Fields(QStringLiteral("kulcs1")) = QStringLiteral("3"); }), int(qz::ErrUpdateWithoutEdit));
    rs->Edit();
    rs->Fields(QStringLiteral("kulcs1")) = QStringLiteral("3");
    QCOMPARE(errorOf([&] { rs->Fields(QStringLiteral("szint")) = QStringLiteral("two"); }), int(qz::ErrTypeMismatch));
    QCOMPARE(errorOf([&] { rs->Fields(QStringLiteral("sorrend2")) = 40000; }), int(qz::ErrOverflow));
    rs->Fields(QStringLiteral("sorrend2")) = QStringLiteral("2500");  // numeric text is taken as a number
    rs->Update();
    QCOMPARE(rs->field(QStringLiteral("kulcs1")).toString(), QStringLiteral("3"));
    QCOMPARE(rs->field(QStringLiteral("sorrend2")).kind(), Value::Kind::Int);
    QCOMPARE(rs->field(QStringLiteral("sorrend2")).toInt(), 2500);
    // A snapshot cannot be written.
    auto snap = database->CreateSnapshot(QStringLiteral("test1"));
    QCOMPARE(errorOf([&] { snap->Edit(); }), int(qz::ErrReadOnly));
    QCOMPARE(errorOf([&] { snap->AddNew(); }), int(qz::ErrReadOnly));
    QCOMPARE(errorOf([&] { snap->Delete(); }), int(qz::ErrReadOnly));
}

void TestEngine::dynaset_liveAcrossViews() {
    TempBank bank;
    auto one = bank.open();
    auto two = bank.open();
    auto a = one->OpenDynaset(QStringLiteral("test1"));
    auto b = two->OpenDynaset(QStringLiteral("test1"));
    b->Edit();
    b->Fields(QStringLiteral("mondat")) = QStringLiteral("Megváltozott.");
    b->Update();
    QCOMPARE(a->field(QStringLiteral("mondat")).toString(), QStringLiteral("Megváltozott."));
    // A row deleted through one view reads as deleted in the other.
    a->MoveNext();
    b->MoveNext();
    a->Delete();
    QCOMPARE(errorOf([&] { b->field(QStringLiteral("mondat")); }), int(qz::ErrDeletedRow));
    // A third view, in the same process, sees the row gone.
    auto c = one->OpenDynaset(QStringLiteral("test1"));
    QCOMPARE(c->RecordCount(), 9L);
}

void TestEngine::dynaset_hiba1InAppendOrder() {
    TempBank bank;
    auto database = bank.open();
    auto h = database->OpenDynaset(QStringLiteral("hiba1"));
    QCOMPARE(h->RecordCount(), 1L);  // the placeholder row
    for (const char* guess : {"C", "0", "B"}) {
        h->AddNew();
        h->Fields(QStringLiteral("hiba")) = QString::fromLatin1(guess);
        h->Fields(QStringLiteral("mondat")) = QStringLiteral(" Egy mondat.");
        h->Update();
        h->MoveLast();
    }
    auto again = database->OpenDynaset(QStringLiteral("Hiba1"));
    QStringList order;
    while (!again->isEOF()) {
        order << again->field(QStringLiteral("hiba")).toString();
        again->MoveNext();
    }
    QCOMPARE(order, (QStringList{"", "C", "0", "B"}));
    QCOMPARE(again->fields().size(), std::size_t(8));
}

void TestEngine::dynaset_findFirstNext() {
    TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    rs->FindFirst(QStringLiteral("kulcs1 = '1' And kulcs2 = 'a'"));
    QVERIFY(!rs->NoMatch());
    QCOMPARE(serial(*rs), 2);
    rs->FindNext(QStringLiteral("kulcs1 = '1' And kulcs2 = 'a'"));
    QCOMPARE(serial(*rs), 6);
    rs->FindNext(QStringLiteral("kulcs1 = '1' And kulcs2 = 'a'"));
    QVERIFY(rs->NoMatch());
    QCOMPARE(serial(*rs), 6);  // the current row stays
    rs->FindFirst(QStringLiteral("sorszam = 99"));
    QVERIFY(rs->NoMatch());
    // FindNext from before the first row starts at the first row.
    rs->MoveFirst();
    rs->MovePrevious();
    rs->FindNext(QStringLiteral("sorszam = 1"));
    QCOMPARE(serial(*rs), 1);
    // The errors of a bad condition, and the set does not move.
    QCOMPARE(errorOf([&] { rs->FindFirst(QStringLiteral("mondat = alma")); }), int(qz::ErrTooFewParameters));
    QCOMPARE(errorOf([&] { rs->FindFirst(QString()); }), int(qz::ErrSyntax));
    QCOMPARE(serial(*rs), 1);
}

void TestEngine::table_indexAndSeek() {
    TempBank bank;
    auto database = bank.open();
    auto t = database->OpenTable(QStringLiteral("test1"));
    QCOMPARE(errorOf([&] { t->Seek(QStringLiteral("="), Value(5)); }), int(qz::ErrIndexNotFound));
    QCOMPARE(errorOf([&] { t->setIndex(QStringLiteral("nope")); }), int(qz::ErrIndexNotFound));
    QCOMPARE(errorOf([&] { t->FindFirst(QStringLiteral("sorszam = 1")); }), int(qz::ErrNotSupported));
    t->setIndex(QStringLiteral("Sorszam"));
    QCOMPARE(t->Index(), QStringLiteral("Sorszam"));
    t->MoveLast();
    QCOMPARE(serial(*t), 10);
    t->Seek(QStringLiteral("="), Value(7));
    QVERIFY(!t->NoMatch());
    QCOMPARE(serial(*t), 7);
    t->Seek(QStringLiteral("="), Value(70));
    QVERIFY(t->NoMatch());
    // The order index: rows by sorrend2.
    t->setIndex(QStringLiteral("sorrend"));
    t->MoveFirst();
    QCOMPARE(serial(*t), 10);  // sorrend2 = 1
    t->MoveNext();
    QCOMPARE(serial(*t), 3);  // 12
    t->MoveLast();
    QCOMPARE(serial(*t), 9);  // 3000
}

void TestEngine::snapshot_sortFilterStatic() {
    TempBank bank;
    auto database = bank.open();
    auto whole = database->CreateSnapshot(QStringLiteral("Test1"));
    whole->setSort(QStringLiteral("sorrend2"));
    QCOMPARE(serial(*whole), 1);  // Sort takes effect only in the derived snapshot
    auto ordered = whole->CreateSnapshot();
    QCOMPARE(serial(*ordered), 10);
    ordered->setFilter(QStringLiteral("szint >= 2"));
    QCOMPARE(ordered->RecordCount(), 10L);
    auto filtered = ordered->CreateSnapshot();
    QList<int> serials;
    for (filtered->MoveFirst(); !filtered->isEOF(); filtered->MoveNext()) serials << serial(*filtered);
    QCOMPARE(serials, (QList<int>{10, 3, 2, 5, 7, 8}));  // szint 2 or 3, by sorrend2

    // Descending and several keys.
    whole->setSort(QStringLiteral("szint DESC, sorszam"));
    auto bylevel = whole->CreateSnapshot();
    QCOMPARE(serial(*bylevel), 3);

    // A snapshot is a static copy.
    auto live = database->OpenDynaset(QStringLiteral("test1"));
    live->Edit();
    live->Fields(QStringLiteral("mondat")) = QStringLiteral("Új.");
    live->Update();
    live->MoveNext();
    live->Delete();
    whole->MoveFirst();
    QCOMPARE(whole->field(QStringLiteral("mondat")).toString(), QStringLiteral("Mondat 1 _____."));
    QCOMPARE(whole->RecordCount(), 10L);

    whole->setFilter(QStringLiteral("szint = 'x'"));
    QCOMPARE(errorOf([&] { whole->CreateSnapshot(); }), int(qz::ErrCondTypeMismatch));
    whole->setFilter(QString());
    whole->setSort(QStringLiteral("nosuch"));
    QCOMPARE(errorOf([&] { whole->CreateSnapshot(); }), int(qz::ErrUnknownField));
}

void TestEngine::names_withoutRegardToCase() {
    TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("Test1"));
    QCOMPARE(rs->field(QStringLiteral("Kulcs1")).toString(), QStringLiteral("1"));
    QCOMPARE(rs->field(QStringLiteral("SORSZAM")).toInt(), 1);
    rs->FindFirst(QStringLiteral("Szint = 3 AND KULCS1 = 'A'"));
    QCOMPARE(serial(*rs), 8);
    QCOMPARE(errorOf([&] { database->OpenTable(QStringLiteral("test2")); }), int(qz::ErrTableNotFound));
}

void TestEngine::values_conversions() {
    QCOMPARE(Value().toString(), QString());
    QCOMPARE(Value(42).toString(), QStringLiteral("42"));
    QCOMPARE(Value(QStringLiteral(" 17 ")).toInt(), 17);
    QCOMPARE(Value(2.5).toInt(), 2);  // halves to the even neighbour
    QCOMPARE(Value(3.5).toInt(), 4);
    QCOMPARE(errorOf([] { Value(QStringLiteral("abc")).toInt(); }), int(qz::ErrTypeMismatch));
    QCOMPARE(errorOf([] { Value().toInt(); }), int(qz::ErrTypeMismatch));
}

void TestEngine::file_createdWhenMissing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qz_data.mdb"));
    std::shared_ptr<db::Database> database;
    try {
        database = db::DBEngine::OpenDatabase(path);
    } catch (const qz::Error& e) {
        QFAIL(qPrintable(e.message()));
    }
    QVERIFY(QFile::exists(path));
    QVERIFY(!QFile::exists(path + QStringLiteral(".part")));
    auto t = database->OpenTable(QStringLiteral("test1"));
    QCOMPARE(t->RecordCount(), long(itembank::defaultItems().size()));
    QVERIFY(t->RecordCount() >= 550);
    auto h = database->OpenDynaset(QStringLiteral("hiba1"));
    QCOMPARE(h->RecordCount(), 1L);
    // Both indexes exist; the serial numbers are unique.
    t->setIndex(QStringLiteral("sorrend"));
    t->setIndex(QStringLiteral("sorszam"));
    auto d = database->OpenDynaset(QStringLiteral("test1"));
    d->Edit();
    d->Fields(QStringLiteral("sorszam")) = 2;
    QCOMPARE(errorOf([&] { d->Update(); }), int(qz::ErrDuplicateKey));
    // Opening again finds the same file.
    QCOMPARE(db::DBEngine::OpenDatabase(path)->OpenTable(QStringLiteral("test1"))->RecordCount(), t->RecordCount());
}

void TestEngine::file_foreignFilesRefusedUntouched_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("empty");
    QTest::newRow("text") << QByteArray("Dear diary,\nnot a database.\n") << QStringLiteral("not a database");
    QByteArray access(4096, '\0');
    access.replace(4, 15, "Standard Jet DB");
    QTest::newRow("access") << access << QStringLiteral("Access database");
    QByteArray corrupt("SQLite format 3\0", 16);
    corrupt.append(QByteArray(2000, '\x5a'));
    QTest::newRow("corrupt") << corrupt << QStringLiteral("damaged");
    QTest::newRow("other sqlite") << QByteArray() << QStringLiteral("another program");
}

void TestEngine::file_foreignFilesRefusedUntouched() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qz_data.mdb"));
    if (QTest::currentDataTag() == QLatin1String("other sqlite")) {
        bankfixture::execSql(path, "CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('mine');");
    } else {
        QVERIFY(bankfixture::writeFile(path, content));
    }
    const QByteArray before = fileHash(path);
    const qint64 size = QFileInfo(path).size();
    try {
        db::DBEngine::OpenDatabase(path);
        QFAIL("a foreign file must be refused");
    } catch (const qz::Error& e) {
        QCOMPARE(e.number(), int(qz::ErrNotDatabase));
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QFileInfo(path).size(), size);
}

void TestEngine::file_readOnly() {
    TempBank bank;
    QFile::setPermissions(bank.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        auto database = bank.open();
        QVERIFY(database->readOnly());
        auto rs = database->OpenDynaset(QStringLiteral("test1"));
        QCOMPARE(serial(*rs), 1);  // reading works
        rs->Edit();
        rs->Fields(QStringLiteral("sorrend2")) = 5;
        QCOMPARE(errorOf([&] { rs->Update(); }), int(qz::ErrReadOnly));
        auto h = database->OpenDynaset(QStringLiteral("hiba1"));
        h->AddNew();
        QCOMPARE(errorOf([&] { h->Update(); }), int(qz::ErrReadOnly));
        h->CancelUpdate();
        h->MoveFirst();
        QCOMPARE(errorOf([&] { h->Delete(); }), int(qz::ErrReadOnly));
    }
    QFile::setPermissions(bank.path(), QFile::ReadOwner | QFile::WriteOwner);
    // A read-only folder: the bank cannot be created there, and one already
    // there can be read but not written.
    const QFileDevice::Permissions folderMode = QFile::permissions(bank.folder());
    QFile::setPermissions(bank.folder(), QFile::ReadOwner | QFile::ExeOwner);
    const QString missing = bank.folder() + QStringLiteral("/other.mdb");
    QCOMPARE(errorOf([&] { db::DBEngine::OpenDatabase(missing); }), int(qz::ErrFolderReadOnly));
    QVERIFY(!QFile::exists(missing));
    {
        auto database = bank.open();
        auto rs = database->OpenDynaset(QStringLiteral("test1"));
        rs->Edit();
        rs->Fields(QStringLiteral("szint")) = 2;
        QCOMPARE(errorOf([&] { rs->Update(); }), int(qz::ErrFolderReadOnly));
    }
    QFile::setPermissions(bank.folder(), folderMode);
}

void TestEngine::transaction_manyRowsOneCommit() {
    TempBank bank;
    auto database = bank.open();
    {
        db::Transaction tx(*database);
        auto rs = database->OpenDynaset(QStringLiteral("test1"));
        rs->Edit();
        rs->Fields(QStringLiteral("sorrend2")) = 1234;
        rs->Update();
        // not committed: rolled back when the guard goes
    }
    QCOMPARE(bank.open()->OpenDynaset(QStringLiteral("test1"))->field(QStringLiteral("sorrend2")).toInt(), 430);
    {
        db::Transaction tx(*database);
        auto rs = database->OpenDynaset(QStringLiteral("test1"));
        for (; !rs->isEOF(); rs->MoveNext()) {
            rs->Edit();
            rs->Fields(QStringLiteral("sorrend2")) = 7;
            rs->Update();
        }
        tx.commit();
    }
    auto check = bank.open()->CreateSnapshot(QStringLiteral("test1"));
    check->setFilter(QStringLiteral("sorrend2 <> 7"));
    QCOMPARE(check->CreateSnapshot()->RecordCount(), 0L);
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
