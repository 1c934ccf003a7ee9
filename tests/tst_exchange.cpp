// The item bank as a spreadsheet table: export, import (as a spreadsheet
// saves the file back), the refusal of bad rows and of banks that cannot be
// written, and the check of a bank.

#include <QFile>
#include <QTest>
#include <functional>
#include <sqlite3.h>

#include "bankfixture.h"
#include "core/error.h"
#include "itembank/exchange.h"

using namespace itembank;
using bankfixture::readAll;
using bankfixture::TempBank;

namespace {

QByteArray defaultSource() { return readAll(QStringLiteral(":/itembank.tsv")); }

// The first ten items of the default bank: items that pass every check.
std::vector<Item> tenItems() {
    std::vector<Item> items = defaultItems();
    items.resize(10);
    return items;
}

// The bank's items in their exported form: the bank's content, compared whole.
QByteArray exported(const QString& bank) { return formatItems(readBankItems(bank)); }

std::vector<QStringList> hibaRows(const QString& bank) {
    std::vector<QStringList> rows;
    auto rs = db::DBEngine::OpenDatabase(bank)->OpenDynaset(QStringLiteral("hiba1"));
    for (; !rs->isEOF(); rs->MoveNext()) {
        QStringList row;
        for (const char* f : {"hiba", "mondat", "a", "felelet2"}) row << rs->field(QString::fromLatin1(f)).toString();
        rows.push_back(row);
    }
    return rows;
}

bool anyContains(const QStringList& list, const QString& a, const QString& b = QString()) {
    for (const QString& s : list)
        if (s.contains(a) && s.contains(b)) return true;
    return false;
}

// The first n lines of a TSV text (the header and n - 1 items).
QByteArray firstLines(const QByteArray& tsv, int n) {
    const QList<QByteArray> lines = tsv.split('\n');
    return lines.mid(0, n).join('\n') + '\n';
}

int expectError(const std::function<void()>& f) {
    try {
        f();
    } catch (const qz::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

class TestExchange : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_byteForByte();
    void import_asASpreadsheetSavesIt();
    void import_oneBadRowAmong500ChangesNothing();
    void import_faultsNamedByLineAndField_data();
    void import_faultsNamedByLineAndField();
    void import_refusedBanksStayUntouched();
    void check_cleanAndFaultyBanks();
};

void TestExchange::roundTrip_byteForByte() {
    // The default bank goes out exactly as its source is written.
    TempBank bank(defaultItems());
    QTemporaryDir dir;
    const QString tsv = dir.filePath(QStringLiteral("items.tsv"));
    QCOMPARE(exportBank(bank.path(), tsv), 550);
    QCOMPARE(readAll(tsv), defaultSource());

    // Into another bank and out again: the same bytes, the same items.
    TempBank other;
    const ImportReading reading = readImport(readAll(tsv));
    QVERIFY2(reading.problems.isEmpty(), qPrintable(reading.problems.join('\n')));
    replaceItems(other.path(), reading.rows);
    const QString again = dir.filePath(QStringLiteral("again.tsv"));
    exportBank(other.path(), again);
    QCOMPARE(readAll(again), readAll(tsv));

    // Fields a spreadsheet must see quoted come back as they were.
    std::vector<Item> items = tenItems();
    items[0].felelet1 += QStringLiteral(" Two lines:\nand a\ttab");
    items[1].felelet1 = QStringLiteral("\"Quoted\" at the start, \"\" and \" inside. ") + items[1].felelet1;
    items[2].felelet1 += QStringLiteral(" A line ending\r\nin the middle");
    const ImportReading quoted = readImport(formatItems(items));
    QVERIFY2(quoted.problems.isEmpty(), qPrintable(quoted.problems.join('\n')));
    QCOMPARE(quoted.rows[0].item.felelet1, items[0].felelet1);
    QCOMPARE(quoted.rows[1].item.felelet1, items[1].felelet1);
    QVERIFY(quoted.rows[2].item.felelet1.endsWith(QStringLiteral("A line ending\nin the middle")));
    QCOMPARE(quoted.rows[3].line, 7);  // lines counted in the file, not in rows
}

void TestExchange::import_asASpreadsheetSavesIt() {
    TempBank bank(defaultItems());
    bankfixture::execSql(bank.path(), "INSERT INTO hiba1 VALUES ('B', 'Mondat _____.', 'x', 'y', 'z', 'w', 'M', 'A')");
    const auto hibaBefore = hibaRows(bank.path());
    const QByteArray before = exported(bank.path());

    // The teacher edits two items and adds one; the spreadsheet saves with a
    // byte-order mark and CRLF, quotes a field, and moves a column.
    QString text = QString::fromUtf8(defaultSource());
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    auto edit = [&](int serial, int column, const QString& value) {
        QStringList f = lines[serial].split(QLatin1Char('\t'));
        QCOMPARE(f[0].toInt(), serial);
        f[column] = value;
        lines[serial] = f.join(QLatin1Char('\t'));
    };
    edit(3, 4, QStringLiteral("2999"));                           // sorrend2
    QStringList f5 = lines[5].split(QLatin1Char('\t'));
    edit(5, 11, f5[11] + QStringLiteral(" Ld. még a 12. leckét."));  // felelet1
    lines << QStringLiteral("551\t1\t1\t0\t17\tB\tA kulcsot a lábtörlő _____ találtam meg.\talá\talatt\talól\tmellé\t"
                            "\"A kulcsot a lábtörlő alatt találtam meg. – \"\"hol?\"\" kérdésre: alatt.\"");
    text = QStringLiteral("\uFEFF") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\t\t\r\n");
    QTemporaryDir dir;
    const QString tsv = dir.filePath(QStringLiteral("edited.tsv"));
    QVERIFY(bankfixture::writeFile(tsv, text.toUtf8()));

    const ImportReading reading = readImport(readAll(tsv));
    QVERIFY2(reading.problems.isEmpty(), qPrintable(reading.problems.join('\n')));
    QCOMPARE(reading.rows.size(), std::size_t(551));
    replaceItems(bank.path(), reading.rows);

    const std::vector<Item> items = readBankItems(bank.path());
    QCOMPARE(items.size(), std::size_t(551));
    QCOMPARE(items[2].sorrend2, 2999);
    QVERIFY(items[4].felelet1.endsWith(QStringLiteral(" Ld. még a 12. leckét.")));
    QCOMPARE(items[550].b, QStringLiteral("alatt"));
    QCOMPARE(items[550].felelet1, QStringLiteral("A kulcsot a lábtörlő alatt találtam meg. – \"hol?\" kérdésre: alatt."));
    QCOMPARE(items[0].mondat, defaultItems()[0].mondat);
    QVERIFY(checkBank(bank.path()).problems.isEmpty());
    QCOMPARE(hibaRows(bank.path()), hibaBefore);  // the failed items are never touched
    // The previous bank is kept beside it, whole.
    QCOMPARE(exported(bank.path() + QStringLiteral(".bak")), before);

    // The same edit saved as UTF-16 with its mark reads the same.
    const QString utf16 = lines.join(QStringLiteral("\r\n"));
    QByteArray bytes("\xFF\xFE");
    bytes += QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2);
    const ImportReading wide = readImport(bytes);
    QVERIFY2(wide.problems.isEmpty(), qPrintable(wide.problems.join('\n')));
    QCOMPARE(wide.rows.size(), std::size_t(551));
    QCOMPARE(wide.rows[550].item.felelet1, items[550].felelet1);
}

void TestExchange::import_oneBadRowAmong500ChangesNothing() {
    TempBank bank(defaultItems());
    const QByteArray before = readAll(bank.path());
    QByteArray tsv = firstLines(defaultSource(), 501);  // header and 500 items
    QList<QByteArray> lines = tsv.split('\n');
    QList<QByteArray> f = lines[321].split('\t');
    f[5] = "E";  // felelet2 of item 321
    lines[321] = f.join('\t');
    tsv = lines.join('\n');

    const ImportReading reading = readImport(tsv);
    QCOMPARE(reading.problems.size(), 1);
    QVERIFY2(reading.problems[0].startsWith(QStringLiteral("line 322, felelet2: ")), qPrintable(reading.problems[0]));
    QVERIFY(reading.problems[0].contains(QStringLiteral("item 321")));
    QVERIFY(reading.rows.empty());
    QCOMPARE(readAll(bank.path()), before);
    QVERIFY(!QFile::exists(bank.path() + QStringLiteral(".bak")));
}

void TestExchange::import_faultsNamedByLineAndField_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("start");  // how the message begins
    QTest::addColumn<QString>("words");  // and what it says
    const QByteArray src = firstLines(defaultSource(), 11);  // header and items 1 to 10
    auto withLine = [&](int n, const QByteArray& line) {
        QList<QByteArray> lines = src.split('\n');
        lines[n - 1] = line;
        return lines.join('\n');
    };
    auto field = [&](int n, int col, const QByteArray& value) {
        QList<QByteArray> f = src.split('\n')[n - 1].split('\t');
        f[col] = value;
        return withLine(n, f.join('\t'));
    };
    QTest::newRow("not a number") << field(4, 4, "12a") << "line 4, sorrend2: " << "\"12a\" is not a whole number";
    QTest::newRow("order key out of range") << field(4, 4, "3001") << "line 4, sorrend2: " << "order key";
    QTest::newRow("level") << field(3, 1, "4") << "line 3, szint: " << "level";
    QTest::newRow("no topic") << field(5, 3, "x") << "line 5, kulcs1, kulcs2: " << "names no topic";
    QTest::newRow("no gap") << field(6, 6, "Nincs benne hely.") << "line 6, mondat: " << "gap";
    QTest::newRow("empty filler") << field(7, 8, "") << "line 7, a, b, c, d: " << "filler is empty";
    QTest::newRow("same filler twice") << field(7, 8, src.split('\n')[6].split('\t')[7]) << "line 7, a, b, c, d: "
                                       << "two fillers";
    QTest::newRow("solution") << field(8, 11, "Más.") << "line 8, felelet1: " << "solution";
    QTest::newRow("serial twice") << field(9, 0, "2") << "line 9, sorszam: " << "on line 3 already";
    QTest::newRow("row too short") << withLine(10, src.split('\n')[9].split('\t').mid(0, 10).join('\t'))
                                   << "line 10, d, felelet1: " << "ends after 10 fields";
    QTest::newRow("value without a column") << withLine(10, src.split('\n')[9] + "\tjegyzet") << "line 10: "
                                            << "no column name";
    QTest::newRow("unknown column") << withLine(1, src.split('\n')[0] + "\tjegyzet") << "line 1: "
                                    << "unknown column \"jegyzet\"";
    QTest::newRow("missing column") << withLine(1, src.split('\n')[0].replace("\tszint", "\tszin")) << "line 1: "
                                    << "unknown column \"szin\"";
    QTest::newRow("quote never closed") << field(5, 11, "\"Nyitva marad") << "line 5: " << "never closed";
    QTest::newRow("not UTF-8") << field(8, 7, "f\xE9l") << "line 8: " << "not UTF-8";
    QTest::newRow("empty file") << QByteArray("\xEF\xBB\xBF\r\n") << "the file is empty" << "";
    QTest::newRow("header only") << src.split('\n')[0] << "the file holds no items" << "";
    const QByteArray twin = src.split('\n')[2].split('\t')[6];
    QTest::newRow("same sentence twice") << field(9, 6, twin).replace(src.split('\n')[8].split('\t')[11],
                                                                       src.split('\n')[2].split('\t')[11])
                                         << "line 9, mondat: " << "twice";
}

void TestExchange::import_faultsNamedByLineAndField() {
    QFETCH(QByteArray, file);
    QFETCH(QString, start);
    QFETCH(QString, words);
    const ImportReading reading = readImport(file);
    QVERIFY(reading.rows.empty());
    QVERIFY2(!reading.problems.isEmpty(), "no problem reported");
    bool found = false;
    for (const QString& p : reading.problems) found = found || (p.startsWith(start) && p.contains(words));
    QVERIFY2(found, qPrintable(reading.problems.join('\n')));
}

void TestExchange::import_refusedBanksStayUntouched() {
    const ImportReading reading = readImport(formatItems(tenItems()));
    QVERIFY(reading.problems.isEmpty());

    // Not an item bank: refused, the file as it was.
    QTemporaryDir dir;
    const QString foreign = dir.filePath(QStringLiteral("notes.mdb"));
    QVERIFY(bankfixture::writeFile(foreign, "Tuesday: irregular verbs\n"));
    QCOMPARE(expectError([&] { replaceItems(foreign, reading.rows); }), int(qz::ErrNotDatabase));
    QCOMPARE(readAll(foreign), QByteArray("Tuesday: irregular verbs\n"));
    QVERIFY(!QFile::exists(foreign + QStringLiteral(".bak")));

    // Read-only: refused before anything is written.
    TempBank readOnly(defaultItems());
    QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = readAll(readOnly.path());
    QCOMPARE(expectError([&] { replaceItems(readOnly.path(), reading.rows); }), int(qz::ErrReadOnly));
    QCOMPARE(readAll(readOnly.path()), before);
    QVERIFY(!QFile::exists(readOnly.path() + QStringLiteral(".bak")));

    // In use by another program that is writing: refused, unchanged, no copy.
    TempBank locked(defaultItems());
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(locked.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE test1 SET szint = 3 WHERE sorszam = 1", nullptr, nullptr, nullptr),
             SQLITE_OK);
    QCOMPARE(expectError([&] { replaceItems(locked.path(), reading.rows); }), int(qz::ErrLocked));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(readBankItems(locked.path()).size(), std::size_t(550));
    QVERIFY(!QFile::exists(locked.path() + QStringLiteral(".bak")));

    // A copy that cannot be made stops the import too.
    TempBank blocked(defaultItems());
    QVERIFY(QDir().mkdir(blocked.path() + QStringLiteral(".bak.part")));
    QFile::remove(blocked.path() + QStringLiteral(".bak"));
    QVERIFY(QDir().mkpath(blocked.path() + QStringLiteral(".bak.part/x")));
    QVERIFY(expectError([&] { replaceItems(blocked.path(), reading.rows); }) != 0);
    QCOMPARE(readBankItems(blocked.path()).size(), std::size_t(550));
}

void TestExchange::check_cleanAndFaultyBanks() {
    TempBank clean(defaultItems());
    const BankCheck ok = checkBank(clean.path());
    QCOMPARE(ok.items, 550);
    QVERIFY(ok.problems.isEmpty());

    // A bank edited by hand elsewhere: a wrong letter.
    TempBank faulty(defaultItems());
    bankfixture::execSql(faulty.path(), "UPDATE test1 SET felelet2 = 'E' WHERE sorszam = 17;");
    const BankCheck bad = checkBank(faulty.path());
    QVERIFY2(anyContains(bad.problems, QStringLiteral("item 17: "), QStringLiteral("right letter")),
             qPrintable(bad.problems.join('\n')));
    // Without its unique serial-number index the file is no item bank: the
    // check says what is missing and leaves it as it is.
    bankfixture::execSql(faulty.path(), "DROP INDEX sorszam; UPDATE test1 SET sorszam = 40 WHERE sorszam = 41;");
    try {
        checkBank(faulty.path());
        QFAIL("a bank without its serial-number index must be refused");
    } catch (const qz::Error& e) {
        QCOMPARE(e.number(), int(qz::ErrNotDatabase));
        QVERIFY2(e.message().contains(QStringLiteral("sorszam")), qPrintable(e.message()));
    }

    // A missing file is not created by a check.
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("qz_data.mdb"));
    QCOMPARE(expectError([&] { checkBank(missing); }), int(qz::ErrFileNotFound));
    QVERIFY(!QFile::exists(missing));
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
