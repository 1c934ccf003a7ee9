#pragma once
// Item banks for tests: a temporary folder with a qz_data.mdb made from a few
// items written here.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/error.h"
#include "itembank/database.h"
#include "itembank/itembank.h"

namespace bankfixture {

inline itembank::Item item(int sorszam, const char* k1, const char* k2, int szint, int sorrend2,
                           const char* right = "A") {
    itembank::Item it;
    it.sorszam = sorszam;
    it.kulcs1 = QString::fromUtf8(k1);
    it.kulcs2 = QString::fromUtf8(k2);
    it.szint = szint;
    it.sorrend2 = sorrend2;
    it.felelet2 = QString::fromUtf8(right);
    it.mondat = QStringLiteral("Mondat %1 _____.").arg(sorszam);
    it.a = QStringLiteral("a%1").arg(sorszam);
    it.b = QStringLiteral("b%1").arg(sorszam);
    it.c = QStringLiteral("c%1").arg(sorszam);
    it.d = QStringLiteral("d%1").arg(sorszam);
    it.felelet1 = QStringLiteral("Megoldás %1").arg(sorszam);
    return it;
}

// Ten items over a few topics and levels, order keys out of serial order.
inline std::vector<itembank::Item> smallBank() {
    return {
        item(1, "1", "0", 1, 430),  item(2, "1", "a", 2, 431), item(3, "1", "b", 3, 12),
        item(4, "2", "0", 1, 2999), item(5, "a", "3", 2, 860), item(6, "1", "a", 1, 100),
        item(7, "5", "9", 2, 1500), item(8, "a", "1", 3, 2581), item(9, "1", "c", 1, 3000),
        item(10, "9", "0", 2, 1),
    };
}

// Runs f and returns the engine error number it throws (0 for none).
template <class F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const qz::Error& e) {
        return e.number();
    }
    return 0;
}

// The serial number of the record set's current row.
inline int serial(db::Recordset& rs) { return static_cast<int>(rs.field(QStringLiteral("sorszam")).toInt()); }

// The order keys of a bank's items, in table order.
inline std::vector<int> orderKeys(const QString& path) {
    std::vector<int> keys;
    auto rs = db::DBEngine::OpenDatabase(path)->OpenDynaset(QStringLiteral("test1"));
    for (; !rs->isEOF(); rs->MoveNext()) keys.push_back(int(rs->field(QStringLiteral("sorrend2")).toInt()));
    return keys;
}

// A file's SHA-256, empty when it cannot be read: to show a file was left
// untouched.
inline QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes bytes as the whole file (a foreign file where a bank is expected,
// an exchange file); false when it cannot be written.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(bytes) == bytes.size();
}

// The files this process has open, to show that nothing is left open.
inline int openFiles() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

// Runs SQL on a file straight through SQLite, as another program would
// (creating the file when it is missing).
inline void execSql(const QString& path, const std::string& sql) {
    sqlite3* handle = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &handle) != SQLITE_OK) {
        sqlite3_close(handle);
        throw std::runtime_error("cannot open " + path.toStdString());
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &message);
    const std::string why = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(handle);
    if (rc != SQLITE_OK) throw std::runtime_error(why);
}

// Another program holding the bank: a write transaction it does not end.
class OtherProgramLock {
public:
    explicit OtherProgramLock(const QString& path) {
        sqlite3_open(path.toUtf8().constData(), &handle_);
        sqlite3_exec(handle_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    ~OtherProgramLock() { release(); }
    void release() {
        if (!handle_) return;
        sqlite3_exec(handle_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(handle_);
        handle_ = nullptr;
    }

private:
    sqlite3* handle_ = nullptr;
};

class TempBank {
public:
    explicit TempBank(const std::vector<itembank::Item>& items = smallBank()) {
        path_ = dir_.filePath(QStringLiteral("qz_data.mdb"));
        itembank::createItemBank(path_, items);
    }
    const QString& path() const { return path_; }
    QString folder() const { return dir_.path(); }
    std::shared_ptr<db::Database> open() const { return db::DBEngine::OpenDatabase(path_); }

private:
    QTemporaryDir dir_;
    QString path_;
};

}  // namespace bankfixture
