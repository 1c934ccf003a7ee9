// The item-bank file against hostile and unlucky files: banks that carry
// code, banks without the serial-number index, damaged pages, pipes and links
// to nothing, two first starts at once, a bank in use, a full disk, and a
// reorder that stops part-way.

#include <QCryptographicHash>
#include <QDirIterator>
#include <QTest>
#include <latch>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "bankfixture.h"
#include "core/error.h"
#include "itembank/reorder.h"
#include "itembank/sqlite.h"

using bankfixture::fileHash;
using bankfixture::orderKeys;
using bankfixture::TempBank;

namespace {

// Opens the bank and answers the engine error (number, text); {0, ""} when
// it opened.
std::pair<int, QString> openError(const QString& path) {
    try {
        db::DBEngine::OpenDatabase(path);
    } catch (const qz::Error& e) {
        return {e.number(), e.message()};
    }
    return {0, QString()};
}

using bankfixture::OtherProgramLock;

std::vector<itembank::Item> manyItems(int n) {
    std::vector<itembank::Item> items;
    for (int i = 1; i <= n; ++i) items.push_back(bankfixture::item(i, "1", "0", 1 + i % 3, 1 + i % 3000));
    return items;
}

}  // namespace

class TestBankFile : public QObject {
    Q_OBJECT

private slots:
    void schema_hostileOrIncompleteRefusedUntouched_data();
    void schema_hostileOrIncompleteRefusedUntouched();
    void schema_triggerAddedWhileOpenNeverRuns();
    void reorder_stoppedPartWayChangesNothing();
    void reorder_bankInUseSaysSoAndNextRunWorks();
    void causes_eachSaidAsSuch();
    void damagedPages_reportedAtOpenUntouched();
    void notRegularFile_refusedAtOnce();
    void firstStart_concurrentStartsLeaveOneWholeBank();
    void firstStart_existingFileNeverReplaced();
    void retryValues_towardsTheMiddleAndBounded();
};

void TestBankFile::schema_hostileOrIncompleteRefusedUntouched_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("reason");
    QTest::newRow("delete trigger") << "CREATE TRIGGER wipe AFTER UPDATE OF sorrend2 ON test1 BEGIN DELETE FROM test1; END;"
                                    << "trigger (\"wipe\")";
    QTest::newRow("endless trigger")
        << "CREATE TRIGGER spin BEFORE UPDATE ON test1 BEGIN SELECT count(*) FROM (WITH RECURSIVE c(x) AS "
           "(SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c); END;"
        << "trigger (\"spin\")";
    QTest::newRow("view") << "CREATE VIEW v AS SELECT * FROM test1;" << "view (\"v\")";
    QTest::newRow("virtual table") << "CREATE VIRTUAL TABLE words USING fts5(w);" << "virtual table (\"words\")";
    QTest::newRow("extra table") << "CREATE TABLE extra (x);" << "table \"extra\"";
    QTest::newRow("no serial index") << "DROP INDEX sorszam; INSERT INTO test1 (sorszam) VALUES (1), (NULL);"
                                     << "unique index \"sorszam\"";
    QTest::newRow("serial index not unique")
        << "DROP INDEX sorszam; CREATE INDEX sorszam ON test1 (sorszam); INSERT INTO test1 (sorszam) VALUES (1);"
        << "unique index \"sorszam\"";
    QTest::newRow("serial index on another field") << "DROP INDEX sorszam; CREATE UNIQUE INDEX sorszam ON test1 (mondat);"
                                                   << "unique index \"sorszam\"";
    QTest::newRow("no order index") << "DROP INDEX sorrend;" << "index \"sorrend\"";
    QTest::newRow("index on a formula") << "CREATE INDEX f ON test1 (length(mondat));" << "formula";
}

void TestBankFile::schema_hostileOrIncompleteRefusedUntouched() {
    QFETCH(QString, sql);
    QFETCH(QString, reason);
    TempBank bank;
    try {
        bankfixture::execSql(bank.path(), sql.toStdString());
    } catch (const std::exception& e) {
        QSKIP(e.what());  // an SQLite without that module
    }
    const QByteArray before = fileHash(bank.path());
    const auto [number, message] = openError(bank.path());
    QCOMPARE(number, int(qz::ErrNotDatabase));
    QVERIFY2(message.contains(bank.path()), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(fileHash(bank.path()), before);
}

void TestBankFile::schema_triggerAddedWhileOpenNeverRuns() {
    TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    bankfixture::execSql(bank.path(),
                         "CREATE TRIGGER wipe AFTER UPDATE OF sorrend2 ON test1 BEGIN DELETE FROM test1; END;");
    const auto out = itembank::reorderItems(*database, *rs, [] { return 0.5f; });
    QVERIFY2(out.complete, qPrintable(out.error));
    QCOMPARE(rs->RecordCount(), 10L);
    sqlite3* raw = nullptr;
    sqlite3_open(bank.path().toUtf8().constData(), &raw);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, "SELECT count(*) FROM test1 WHERE sorrend2 = 1501", -1, &st, nullptr);
    QCOMPARE(sqlite3_step(st), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int(st, 0), 10);  // every item still there, with its new key
    sqlite3_finalize(st);
    sqlite3_close(raw);
}

void TestBankFile::reorder_stoppedPartWayChangesNothing() {
    // Unique order keys; rows 3 to 12 hold 101 to 110, so the second row's
    // draw of 101 is refused ten times over and the run stops there, after
    // the first row was stored.
    std::vector<itembank::Item> items{bankfixture::item(1, "1", "0", 1, 1), bankfixture::item(2, "1", "0", 1, 100)};
    for (int n = 3; n <= 12; ++n) items.push_back(bankfixture::item(n, "1", "0", 1, 98 + n));
    TempBank bank(items);
    bankfixture::execSql(bank.path(), "DROP INDEX sorrend; CREATE UNIQUE INDEX sorrend ON test1 (sorrend2);");
    const std::vector<int> before = orderKeys(bank.path());
    const QByteArray hash = fileHash(bank.path());
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    const float fractions[] = {499.5f / 3000.0f, 100.5f / 3000.0f};
    int n = 0;
    const auto out = itembank::reorderItems(*database, *rs, [&] { return fractions[std::min(n++, 1)]; });
    QVERIFY(!out.complete);
    QCOMPARE(out.errorNumber, int(qz::ErrDuplicateKey));
    QCOMPARE(out.rowsStored, 0L);
    QCOMPARE(orderKeys(bank.path()), before);  // the first row's 500 was rolled back
    rs.reset();
    database.reset();
    QCOMPARE(fileHash(bank.path()), hash);
}

void TestBankFile::reorder_bankInUseSaysSoAndNextRunWorks() {
    TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    const std::vector<int> before = orderKeys(bank.path());
    const QByteArray hash = fileHash(bank.path());
    {
        OtherProgramLock lock(bank.path());
        const auto out = itembank::reorderItems(*database, *rs, [] { return 0.9f; });
        QVERIFY(!out.complete);
        QCOMPARE(out.errorNumber, int(qz::ErrLocked));
        QVERIFY2(out.error.contains(bank.path()), qPrintable(out.error));
        QCOMPARE(rs->RecordCount(), 10L);  // the view still shows every row
        QVERIFY_THROWS_EXCEPTION(qz::Error, rs->Requery());
        QCOMPARE(rs->RecordCount(), 10L);  // a failed read leaves it as it was
    }
    QCOMPARE(fileHash(bank.path()), hash);
    const auto out = itembank::reorderItems(*database, *rs, [] { return 0.9f; });
    QVERIFY2(out.complete, qPrintable(out.error));
    QCOMPARE(out.rowsStored, 10L);
    QCOMPARE(orderKeys(bank.path()), std::vector<int>(10, 2701));
}

void TestBankFile::causes_eachSaidAsSuch() {
    TempBank bank(manyItems(50));
    // Disk full: the file may not grow.
    {
        auto database = bank.open();
        database->connection().exec("PRAGMA max_page_count = " +
                                    std::to_string(QFileInfo(bank.path()).size() / 4096));
        auto h = database->OpenDynaset(QStringLiteral("hiba1"));
        int number = 0;
        try {
            db::Transaction tx(*database);
            for (int i = 0; i < 200; ++i) {
                h->AddNew();
                h->Fields(QStringLiteral("mondat")) = QString(400, QLatin1Char('x'));
                h->Update();
            }
        } catch (const qz::Error& e) {
            number = e.number();
            QVERIFY2(e.message().contains(bank.path()) && e.message().contains(QLatin1String("full")),
                     qPrintable(e.message()));
        }
        QCOMPARE(number, int(qz::ErrDiskFull));
    }
    // Read-only file, read-only folder.
    auto storeError = [&] {
        auto database = bank.open();
        auto rs = database->OpenDynaset(QStringLiteral("test1"));
        rs->Edit();
        rs->Fields(QStringLiteral("szint")) = 2;
        try {
            rs->Update();
        } catch (const qz::Error& e) {
            return std::make_pair(e.number(), e.message());
        }
        return std::make_pair(0, QString());
    };
    QFile::setPermissions(bank.path(), QFile::ReadOwner);
    auto [fileNumber, fileText] = storeError();
    QCOMPARE(fileNumber, int(qz::ErrReadOnly));
    QVERIFY2(fileText.contains(bank.path()) && fileText.contains(QLatin1String("read-only")), qPrintable(fileText));
    QFile::setPermissions(bank.path(), QFile::ReadOwner | QFile::WriteOwner);
    const QFileDevice::Permissions folderMode = QFile::permissions(bank.folder());
    QFile::setPermissions(bank.folder(), QFile::ReadOwner | QFile::ExeOwner);
    auto [folderNumber, folderText] = storeError();
    QFile::setPermissions(bank.folder(), folderMode);
    QCOMPARE(folderNumber, int(qz::ErrFolderReadOnly));
    QVERIFY2(folderText.contains(QLatin1String("folder")), qPrintable(folderText));
    // In use by another program, at open.
    {
        OtherProgramLock lock(bank.path());
        const auto [number, text] = openError(bank.path());
        QCOMPARE(number, int(qz::ErrLocked));
        QVERIFY2(text.contains(bank.path()), qPrintable(text));
    }
    QCOMPARE(openError(bank.path()).first, 0);
}

void TestBankFile::damagedPages_reportedAtOpenUntouched() {
    TempBank bank(manyItems(600));
    {
        // The header and the schema page intact, the pages of items after
        // them scrambled.
        QFile f(bank.path());
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.size() > 8 * 4096);
        f.seek(3 * 4096);
        f.write(QByteArray(3 * 4096, '\x5a'));
    }
    const QByteArray hash = fileHash(bank.path());
    const auto [number, text] = openError(bank.path());
    QCOMPARE(number, int(qz::ErrDamaged));
    QVERIFY2(text.contains(bank.path()) && text.contains(QLatin1String("damaged")), qPrintable(text));
    QCOMPARE(fileHash(bank.path()), hash);
}

void TestBankFile::notRegularFile_refusedAtOnce() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qz_data.mdb"));
    // A pipe: refused without waiting for a writer.
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    auto [number, text] = openError(path);
    QCOMPARE(number, int(qz::ErrNotRegularFile));
    QVERIFY2(text.contains(path), qPrintable(text));
    QFile::remove(path);
    // A link to nowhere: refused, and nothing is created where it points.
    const QString target = dir.filePath(QStringLiteral("elsewhere/target.mdb"));
    QDir(dir.path()).mkdir(QStringLiteral("elsewhere"));
    QVERIFY(QFile::link(target, path));
    std::tie(number, text) = openError(path);
    QCOMPARE(number, int(qz::ErrNotRegularFile));
    QVERIFY2(text.contains(QLatin1String("does not exist")), qPrintable(text));
    QVERIFY(!QFile::exists(target));
    QCOMPARE(QFileInfo(path).symLinkTarget(), target);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size() == 1);
    // A folder.
    QFile::remove(path);
    QDir(dir.path()).mkdir(QStringLiteral("qz_data.mdb"));
    QCOMPARE(openError(path).first, int(qz::ErrNotRegularFile));
    QDir(dir.path()).rmdir(QStringLiteral("qz_data.mdb"));
    // A link to a good bank is opened where it points.
    TempBank good;
    QVERIFY(QFile::link(good.path(), path));
    QCOMPARE(openError(path).first, 0);
}

void TestBankFile::firstStart_concurrentStartsLeaveOneWholeBank() {
    const long items = long(itembank::defaultItems().size());
    for (int round = 0; round < 8; ++round) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qz_data.mdb"));
        constexpr int kStarts = 4;
        std::latch go(kStarts);
        std::vector<int> errors(kStarts, -1);
        std::vector<long> counts(kStarts, 0);
        std::vector<std::thread> starts;
        for (int i = 0; i < kStarts; ++i)
            starts.emplace_back([&, i] {
                go.arrive_and_wait();
                try {
                    counts[i] = db::DBEngine::OpenDatabase(path)->OpenTable(QStringLiteral("test1"))->RecordCount();
                    errors[i] = 0;
                } catch (const qz::Error& e) {
                    errors[i] = e.number();
                }
            });
        for (auto& t : starts) t.join();
        for (int i = 0; i < kStarts; ++i) {
            QCOMPARE(errors[i], 0);
            QCOMPARE(counts[i], items);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("qz_data.mdb")});
    }
    // Made like any file of the user: the umask decides, not a private mode.
    QTemporaryDir dir;
    const mode_t old = ::umask(022);
    db::DBEngine::OpenDatabase(dir.filePath(QStringLiteral("qz_data.mdb")));
    ::umask(old);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(dir.filePath(QStringLiteral("qz_data.mdb"))).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0644);
}

void TestBankFile::firstStart_existingFileNeverReplaced() {
    TempBank bank;
    const QByteArray hash = fileHash(bank.path());
    itembank::createItemBank(bank.path(), manyItems(3));  // another start won
    QCOMPARE(fileHash(bank.path()), hash);
    QCOMPARE(QDir(bank.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("qz_data.mdb")});
}

void TestBankFile::retryValues_towardsTheMiddleAndBounded() {
    QCOMPARE(itembank::reorderDraw(0.0f), 1);
    QCOMPARE(itembank::reorderDraw(0.99999f), 3000);
    QCOMPARE(itembank::reorderRetryValue(1499, 1499, 0), std::optional<int>(1500));
    QCOMPARE(itembank::reorderRetryValue(1500, 1500, 0), std::optional<int>(1499));
    QCOMPARE(itembank::reorderRetryValue(10, 12, 2), std::optional<int>(13));
    QCOMPARE(itembank::reorderRetryValue(10, 19, itembank::kReorderRetries - 1), std::nullopt);
    QCOMPARE(itembank::reorderRetryValue(3000, 3000, 0), std::optional<int>(2999));
}

QTEST_GUILESS_MAIN(TestBankFile)
#include "tst_bankfile.moc"
