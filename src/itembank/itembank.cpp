#include "itembank/itembank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <map>

#include "core/error.h"
#include "itembank/sqlite.h"

namespace itembank {

namespace {

[[noreturn]] void refuse(const QString& path, const QString& reason) {
    throw qz::Error(qz::ErrNotDatabase,
                    QStringLiteral("The file %1 is not an item bank of this program: %2. The file has been left as it is.")
                        .arg(QDir::toNativeSeparators(path), reason));
}

const char* const kSchema = R"SQL(
CREATE TABLE test1 (
  sorszam INTEGER,
  mondat TEXT,
  a TEXT,
  b TEXT,
  c TEXT,
  d TEXT,
  felelet1 TEXT,
  felelet2 TEXT,
  kulcs1 TEXT,
  kulcs2 TEXT,
  szint INTEGER,
  sorrend2 SMALLINT
);
CREATE UNIQUE INDEX sorszam ON test1 (sorszam);
CREATE INDEX sorrend ON test1 (sorrend2);
CREATE TABLE hiba1 (
  hiba TEXT,
  mondat TEXT,
  a TEXT,
  b TEXT,
  c TEXT,
  d TEXT,
  felelet1 TEXT,
  felelet2 TEXT
);
INSERT INTO hiba1 VALUES ('', '', '', '', '', '', '', '');
)SQL";

const QStringList kTest1Fields{"sorszam", "mondat", "a",      "b",     "c",    "d",
                               "felelet1", "felelet2", "kulcs1", "kulcs2", "szint", "sorrend2"};
const QStringList kHiba1Fields{"hiba", "mondat", "a", "b", "c", "d", "felelet1", "felelet2"};

}  // namespace

std::vector<Item> parseItems(const QString& tsv) {
    QStringList lines = tsv.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    if (lines.isEmpty()) throw qz::Error(qz::ErrEngine, QStringLiteral("The item source is empty."));
    const QStringList header = lines.first().trimmed().split(QLatin1Char('\t'));
    std::map<QString, int> col;
    for (int i = 0; i < header.size(); ++i) col[header[i].trimmed().toLower()] = i;
    for (const QString& name : kTest1Fields)
        if (!col.count(name))
            throw qz::Error(qz::ErrEngine, QStringLiteral("The item source has no column %1.").arg(name));
    std::vector<Item> items;
    for (int n = 1; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() != header.size())
            throw qz::Error(qz::ErrEngine, QStringLiteral("Line %1 of the item source has %2 fields, not %3.")
                                               .arg(n + 1)
                                               .arg(f.size())
                                               .arg(header.size()));
        auto text = [&](const char* name) { return f[col.at(QLatin1String(name))]; };
        auto number = [&](const char* name) {
            bool ok = false;
            const int v = text(name).trimmed().toInt(&ok);
            if (!ok)
                throw qz::Error(qz::ErrEngine,
                                QStringLiteral("Line %1 of the item source: %2 is not a number.").arg(n + 1).arg(QLatin1String(name)));
            return v;
        };
        Item it;
        it.sorszam = number("sorszam");
        it.szint = number("szint");
        it.sorrend2 = number("sorrend2");
        it.kulcs1 = text("kulcs1");
        it.kulcs2 = text("kulcs2");
        it.felelet2 = text("felelet2");
        it.mondat = text("mondat");
        it.a = text("a");
        it.b = text("b");
        it.c = text("c");
        it.d = text("d");
        it.felelet1 = text("felelet1");
        items.push_back(std::move(it));
    }
    return items;
}

std::vector<Item> defaultItems() {
    QFile f(QStringLiteral(":/itembank.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        throw qz::Error(qz::ErrEngine, QStringLiteral("The default item bank is missing from the program."));
    return parseItems(QString::fromUtf8(f.readAll()));
}

void createItemBank(const QString& path, const std::vector<Item>& items) {
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    try {
        db::Connection conn(part, true);
        conn.exec("PRAGMA application_id = " + std::to_string(kApplicationId) + ";" +
                  "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";");
        conn.exec("BEGIN");
        conn.exec(kSchema);
        {
            db::Stmt st = conn.prepare(
                "INSERT INTO test1 (sorszam, mondat, a, b, c, d, felelet1, felelet2, kulcs1, kulcs2, szint, sorrend2) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
            for (const Item& it : items) {
                st.bindInt(1, it.sorszam);
                st.bind(2, it.mondat).bind(3, it.a).bind(4, it.b).bind(5, it.c).bind(6, it.d);
                st.bind(7, it.felelet1).bind(8, it.felelet2).bind(9, it.kulcs1).bind(10, it.kulcs2);
                st.bindInt(11, it.szint).bindInt(12, it.sorrend2);
                st.run();
                sqlite3_reset(st.raw());
            }
        }
        conn.exec("COMMIT");
    } catch (const qz::Error& e) {
        QFile::remove(part);
        throw qz::Error(qz::ErrReadOnly, QStringLiteral("Cannot create the item bank %1: %2")
                                             .arg(QDir::toNativeSeparators(path), e.message()));
    }
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        if (!QFileInfo::exists(path))
            throw qz::Error(qz::ErrReadOnly, QStringLiteral("Cannot create the item bank %1: the folder cannot be written.")
                                                 .arg(QDir::toNativeSeparators(path)));
    }
}

void checkFile(const QString& path) {
    QFileInfo info(path);
    if (!info.exists()) throw qz::Error(qz::ErrFileNotFound, QStringLiteral("Could not find the item bank %1.").arg(path));
    if (info.isDir()) refuse(path, QStringLiteral("it is a folder"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) refuse(path, QStringLiteral("it cannot be read"));
    const QByteArray head = f.read(100);
    if (head.isEmpty()) refuse(path, QStringLiteral("it is empty"));
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
        refuse(path, QStringLiteral("it is an Access database"));
    if (!head.startsWith(QByteArray("SQLite format 3\0", 16)))
        refuse(path, QStringLiteral("it is not a database (it may be damaged, or belong to another program)"));
}

void checkSchema(db::Connection& conn) {
    const QString& path = conn.path();
    int appId = 0;
    try {
        db::Stmt st = conn.prepare("PRAGMA application_id");
        if (st.step()) appId = static_cast<int>(st.columnInt(0));
    } catch (const qz::Error&) {
        refuse(path, QStringLiteral("it cannot be read as a database (it may be damaged)"));
    }
    if (appId != kApplicationId) refuse(path, QStringLiteral("it is a database of another program"));
    auto checkTable = [&](const char* table, const QStringList& fields) {
        QStringList have;
        db::Stmt st = conn.prepare(std::string("PRAGMA table_info(") + table + ")");
        while (st.step()) have << st.columnText(1).toLower();
        if (have.isEmpty()) refuse(path, QStringLiteral("its table %1 is missing").arg(QLatin1String(table)));
        for (const QString& f : fields)
            if (!have.contains(f))
                refuse(path, QStringLiteral("its table %1 has no field %2").arg(QLatin1String(table), f));
    };
    try {
        checkTable("test1", kTest1Fields);
        checkTable("hiba1", kHiba1Fields);
    } catch (const qz::Error& e) {
        if (e.number() == qz::ErrNotDatabase) throw;
        refuse(path, QStringLiteral("it cannot be read as a database (it may be damaged)"));
    }
}

}  // namespace itembank
