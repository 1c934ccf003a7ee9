#include "itembank/itembank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "core/error.h"
#include "itembank/sqlite.h"

namespace itembank {

namespace {

[[noreturn]] void refuse(const QString& path, const QString& reason) {
    throw qz::Error(qz::ErrNotDatabase,
                    QStringLiteral("The file %1 is not an item bank of this program: %2. The file has been left as it is.")
                        .arg(QDir::toNativeSeparators(path), reason));
}

[[noreturn]] void refuseNotRegular(const QString& path, const QString& what) {
    throw qz::Error(qz::ErrNotRegularFile,
                    QStringLiteral("The item bank %1 is not a regular file: %2. Nothing has been written there.")
                        .arg(QDir::toNativeSeparators(path), what));
}

QByteArray localName(const QString& path) { return QFile::encodeName(path); }

QString systemText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// The engine error for a failed file-system call while creating the bank.
qz::Error createError(const QString& path, int err) {
    const QString where = QDir::toNativeSeparators(path);
    if (err == ENOSPC || err == EDQUOT)
        return qz::Error(qz::ErrDiskFull,
                         QStringLiteral("Cannot create the item bank %1: the disk is full (%2).").arg(where, systemText(err)));
    if (err == EACCES || err == EPERM || err == EROFS)
        return qz::Error(qz::ErrFolderReadOnly, QStringLiteral("Cannot create the item bank %1: the folder cannot be written (%2).")
                                                    .arg(where, systemText(err)));
    return qz::Error(qz::ErrEngine, QStringLiteral("Cannot create the item bank %1 (%2).").arg(where, systemText(err)));
}

// Makes a finished file appear at `to` in one step, unless something (a file,
// a link, anything) is there already: then `from` stays where it is and the
// answer is false. Never writes through a link.
bool publishWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray src = localName(from), dst = localName(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) throw createError(to, errno);
#endif
    // A file system without that rename: a hard link never replaces either.
    if (::link(src.constData(), dst.constData()) == 0) {
        ::unlink(src.constData());
        return true;
    }
    if (errno == EEXIST) return false;
    throw createError(to, errno);
}

// The new name in the folder survives a power cut only once the folder
// itself is on the disk.
void syncFolder(const QString& path) {
    const int fd = ::open(localName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
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

void insertItems(db::Connection& conn, const std::vector<Item>& items) {
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

void createItemBank(const QString& path, const std::vector<Item>& items) {
    // A unique name of its own: two first starts at once never touch each
    // other's half-written file.
    if (db::folderIsReadOnly(path))
        throw qz::Error(qz::ErrFolderReadOnly, QStringLiteral("Cannot create the item bank %1: the folder cannot be written.")
                                                   .arg(QDir::toNativeSeparators(path)));
    QString part;
    std::random_device entropy;
    for (int attempt = 0;; ++attempt) {
        part = path + QStringLiteral(".%1.part").arg(entropy(), 8, 16, QLatin1Char('0'));
        // Read and write for everyone the user's umask allows, as any file.
        const int fd = ::open(localName(part).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            break;
        }
        if (errno != EEXIST || attempt > 100) throw createError(path, errno);
    }
    auto discard = [&] {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
    };
    try {
        db::Connection conn(part, true);
        conn.exec("PRAGMA application_id = " + std::to_string(kApplicationId) + ";" +
                  "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";");
        conn.exec("BEGIN");
        conn.exec(kSchema);
        insertItems(conn, items);
        conn.exec("COMMIT");  // synced to the disk before it returns
    } catch (const qz::Error& e) {
        discard();
        throw qz::Error(e.number() == qz::ErrEngine ? qz::ErrReadOnly : e.number(),
                        QStringLiteral("Cannot create the item bank %1: %2").arg(QDir::toNativeSeparators(path), e.message()));
    }
    bool published = false;
    try {
        published = publishWithoutReplacing(part, path);
    } catch (const qz::Error&) {
        discard();
        throw;
    }
    // When another start published its bank first, that one is the bank.
    if (!published) discard();
    else syncFolder(path);
}

void checkFile(const QString& path) {
    const QByteArray name = localName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno == ENOENT)
            throw qz::Error(qz::ErrFileNotFound,
                            QStringLiteral("Could not find the item bank %1.").arg(QDir::toNativeSeparators(path)));
        refuse(path, QStringLiteral("it cannot be read (%1)").arg(systemText(errno)));
    }
    if (S_ISLNK(st.st_mode) && ::stat(name.constData(), &st) != 0)
        refuseNotRegular(path, QStringLiteral("it is a link to %1, which does not exist")
                                   .arg(QDir::toNativeSeparators(QFileInfo(path).symLinkTarget())));
    if (S_ISDIR(st.st_mode)) refuseNotRegular(path, QStringLiteral("it is a folder"));
    if (!S_ISREG(st.st_mode)) refuseNotRegular(path, QStringLiteral("it is a device, a pipe or a socket"));
    // Opened without waiting, and looked at again once open: a pipe put there
    // in between cannot hold the program.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) refuse(path, QStringLiteral("it cannot be read (%1)").arg(systemText(errno)));
    QByteArray head(100, '\0');
    ssize_t got = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) got = ::read(fd, head.data(), head.size());
    const bool regular = S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular) refuseNotRegular(path, QStringLiteral("it is a device, a pipe or a socket"));
    if (got < 0) refuse(path, QStringLiteral("it cannot be read"));
    head.truncate(got);
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
    } catch (const qz::Error& e) {
        if (e.number() == qz::ErrLocked) throw;
        refuse(path, QStringLiteral("it cannot be read as a database (it may be damaged)"));
    }
    if (appId != kApplicationId) refuse(path, QStringLiteral("it is a database of another program"));
    try {
        checkSchemaObjects(conn);
    } catch (const qz::Error& e) {
        if (e.number() == qz::ErrNotDatabase || e.number() == qz::ErrLocked) throw;
        refuse(path, QStringLiteral("it cannot be read as a database (it may be damaged)"));
    }
}

void checkSchemaObjects(db::Connection& conn) {
    const QString& path = conn.path();
    // Nothing but the two tables and their plain indexes: a trigger, a view or
    // a virtual table in a bank someone sent would run their code here.
    {
        db::Stmt st = conn.prepare("SELECT type, name, tbl_name, coalesce(sql, '') FROM sqlite_master");
        while (st.step()) {
            const QString type = st.columnText(0).toLower();
            const QString name = st.columnText(1);
            const QString table = st.columnText(2).toLower();
            const QString sql = st.columnText(3).simplified().toUpper();
            const bool own = table == QLatin1String("test1") || table == QLatin1String("hiba1");
            if (type == QLatin1String("trigger"))
                refuse(path, QStringLiteral("it carries a trigger (\"%1\"), which this program never runs").arg(name));
            if (type == QLatin1String("view"))
                refuse(path, QStringLiteral("it carries a view (\"%1\"), which this program never uses").arg(name));
            if (sql.startsWith(QLatin1String("CREATE VIRTUAL")))
                refuse(path, QStringLiteral("it carries a virtual table (\"%1\")").arg(name));
            if (type == QLatin1String("table") && !own && !name.toLower().startsWith(QLatin1String("sqlite_")))
                refuse(path, QStringLiteral("it has a table \"%1\" that is not part of an item bank").arg(name));
            if (type == QLatin1String("index") && !own)
                refuse(path, QStringLiteral("it has an index \"%1\" on a table that is not part of an item bank").arg(name));
        }
    }
    auto checkTable = [&](const char* table, const QStringList& fields) {
        QStringList have;
        db::Stmt st = conn.prepare(std::string("PRAGMA table_xinfo(") + table + ")");
        while (st.step()) {
            have << st.columnText(1).toLower();
            if (st.columnInt(6) != 0)
                refuse(path, QStringLiteral("its table %1 has a computed field %2").arg(QLatin1String(table), st.columnText(1)));
        }
        if (have.isEmpty()) refuse(path, QStringLiteral("its table %1 is missing").arg(QLatin1String(table)));
        for (const QString& f : fields)
            if (!have.contains(f))
                refuse(path, QStringLiteral("its table %1 has no field %2").arg(QLatin1String(table), f));
    };
    checkTable("test1", kTest1Fields);
    checkTable("hiba1", kHiba1Fields);

    // Indexes over plain fields only; test1 must have the unique index on the
    // serial number that every look-up by number relies on, and the order
    // index.
    struct IndexInfo {
        QString name;
        bool unique = false;
        QStringList columns;
    };
    auto indexesOf = [&](const char* table) {
        std::vector<IndexInfo> out;
        {
            db::Stmt st = conn.prepare(std::string("PRAGMA index_list(") + table + ")");
            while (st.step()) {
                if (st.columnInt(4) != 0)
                    refuse(path, QStringLiteral("its index %1 covers only some rows").arg(st.columnText(1)));
                out.push_back({st.columnText(1), st.columnInt(2) != 0, {}});
            }
        }
        for (IndexInfo& idx : out) {
            db::Stmt st = conn.prepare("PRAGMA index_info(" + db::quotedName(idx.name) + ")");
            while (st.step()) {
                if (st.columnInt(1) < 0)
                    refuse(path, QStringLiteral("its index %1 is built on a formula").arg(idx.name));
                idx.columns << st.columnText(2).toLower();
            }
        }
        return out;
    };
    indexesOf("hiba1");
    const std::vector<IndexInfo> test1Indexes = indexesOf("test1");
    auto find = [&](const char* name) -> const IndexInfo* {
        for (const IndexInfo& idx : test1Indexes)
            if (idx.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return &idx;
        return nullptr;
    };
    const IndexInfo* serial = find("sorszam");
    if (!serial || !serial->unique || serial->columns != QStringList{QStringLiteral("sorszam")})
        refuse(path, QStringLiteral("its table test1 lacks the unique index \"sorszam\" on the serial numbers (sorszam)"));
    const IndexInfo* order = find("sorrend");
    if (!order || order->columns != QStringList{QStringLiteral("sorrend2")})
        refuse(path, QStringLiteral("its table test1 lacks the index \"sorrend\" on the order key (sorrend2)"));
}

void checkIntegrity(db::Connection& conn) {
    // Once per state of the file in this run: the windows open the bank
    // again and again, and an unchanged file need not be read through again.
    using Key = std::tuple<dev_t, ino_t, off_t, std::int64_t, std::int64_t>;
    static std::mutex mutex;
    static std::set<Key> checked;
    struct stat st {};
    const bool known = ::stat(localName(conn.path()).constData(), &st) == 0;
    const Key key{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    if (known) {
        std::lock_guard<std::mutex> lock(mutex);
        if (checked.count(key)) return;
    }
    QString problem;
    try {
        db::Stmt q = conn.prepare("PRAGMA quick_check(1)");
        if (q.step()) problem = q.columnText(0);
    } catch (const qz::Error& e) {
        if (e.number() != qz::ErrDamaged) throw;
        problem = e.message();
    }
    if (!problem.isEmpty() && problem != QLatin1String("ok"))
        throw qz::Error(qz::ErrDamaged, QStringLiteral("The item bank %1 is damaged (%2). The file has been left as it is.")
                                            .arg(QDir::toNativeSeparators(conn.path()), problem));
    if (known) {
        std::lock_guard<std::mutex> lock(mutex);
        checked.insert(key);
    }
}

}  // namespace itembank
