#include "itembank/sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "core/error.h"

namespace db {

namespace {
constexpr int kBusyTimeoutMs = 2000;

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

bool writableByMode(const QFileInfo& info) {
    const QFile::Permissions p = info.permissions();
    return p & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
}
}  // namespace

bool fileIsReadOnly(const QString& path) {
    const QFileInfo file(path);
    return file.exists() && !writableByMode(file);
}

bool folderIsReadOnly(const QString& path) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    return folder.exists() && !writableByMode(folder);
}

bool pathIsReadOnly(const QString& path) {
    // The file's own read-only mode is honoured for every user, the
    // administrator included, and so is that of its folder (where SQLite
    // keeps its journal while writing).
    return fileIsReadOnly(path) || folderIsReadOnly(path);
}

std::string quotedName(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return ("\"" + q + "\"").toStdString();
}

Connection::Connection(const QString& path, bool create) : path_(path) {
    const QByteArray name = path.toUtf8();
    if (create && folderIsReadOnly(path))
        throw qz::Error(qz::ErrFolderReadOnly, QStringLiteral("The folder of %1 cannot be written.").arg(nativePath(path)));
    const int access = (!create && pathIsReadOnly(path)) ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int flags = access | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw qz::Error(rc == SQLITE_CANTOPEN ? qz::ErrFileNotFound : qz::ErrEngine,
                        QStringLiteral("Cannot open the item bank %1: %2.").arg(nativePath(path), msg));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // Room for the whole item table (about 8 MB at 32,767 items) in the page
    // cache, so that a search reads it from memory while the file is unchanged.
    sqlite3_exec(db_, "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    // Bank files are passed around: nothing stored in one may run code or
    // change the file behind the program's back. No trigger or view ever
    // runs (the schema check refuses banks that carry them, this holds even
    // if one is added while the bank is open), functions stored in the schema
    // are limited to harmless ones, and SQL cannot write the file's pages
    // directly.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_exec(db_, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
}

Connection::~Connection() {
    for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
    if (db_) {
        if (inTransaction()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
}

bool Connection::readOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

Stmt Connection::prepare(const std::string& sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end()) return Stmt(*this, it->second);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt, nullptr);
    if (rc != SQLITE_OK) fail(rc);
    cache_.emplace(sql, stmt);
    return Stmt(*this, stmt);
}

const QString& Connection::canonicalPath() const {
    if (canonical_.isEmpty()) {
        const QFileInfo info(path_);
        canonical_ = info.canonicalFilePath();
        if (canonical_.isEmpty()) canonical_ = info.absoluteFilePath();
    }
    return canonical_;
}

void Connection::aboutToWrite() const { beforeWriteTo(canonicalPath()); }

void Connection::exec(const std::string& sql) {
    // Transactions, schema and settings: treated as writes.
    aboutToWrite();
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) fail(rc);
}

static qz::Error writeError(const QString& path, const QString& detail) {
    // Say which of the two cannot be written: the file or its folder (where
    // the journal is kept while writing).
    if (fileIsReadOnly(path))
        return qz::Error(qz::ErrReadOnly,
                         QStringLiteral("Cannot update: the item bank %1 is read-only (%2).").arg(nativePath(path), detail));
    if (folderIsReadOnly(path))
        return qz::Error(qz::ErrFolderReadOnly, QStringLiteral("Cannot update: the folder of the item bank %1 is read-only (%2).")
                                                    .arg(nativePath(path), detail));
    return qz::Error(qz::ErrReadOnly,
                     QStringLiteral("Cannot update: the item bank %1 cannot be written (%2).").arg(nativePath(path), detail));
}

void Connection::fail(int rc, const char* what) const {
    const QString detail = QString::fromUtf8(what ? what : sqlite3_errmsg(db_));
    const int sysErrno = db_ ? sqlite3_system_errno(db_) : 0;
    switch (rc & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        throw writeError(path_, detail);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw qz::Error(qz::ErrLocked, QStringLiteral("The item bank %1 is in use by another program; try again later (%2).")
                                           .arg(nativePath(path_), detail));
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw qz::Error(qz::ErrDuplicateKey,
                            QStringLiteral("The change would create a duplicate value in a unique index (%1).").arg(detail));
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw qz::Error(qz::ErrDamaged, QStringLiteral("The item bank %1 is damaged (%2).").arg(nativePath(path_), detail));
    case SQLITE_FULL:
        throw qz::Error(qz::ErrDiskFull,
                        QStringLiteral("Cannot write the item bank %1: the disk is full (%2).").arg(nativePath(path_), detail));
    case SQLITE_IOERR:
        if (sysErrno == ENOSPC || sysErrno == EDQUOT)
            throw qz::Error(qz::ErrDiskFull, QStringLiteral("Cannot write the item bank %1: the disk is full (%2).")
                                                 .arg(nativePath(path_), detail));
        if (sysErrno == EROFS || sysErrno == EACCES || sysErrno == EPERM) throw writeError(path_, detail);
        throw qz::Error(qz::ErrEngine,
                        QStringLiteral("Cannot read or write the item bank %1 (%2).").arg(nativePath(path_), detail));
    default: break;
    }
    throw qz::Error(qz::ErrEngine, QStringLiteral("Item bank %1: %2.").arg(nativePath(path_), detail));
}

Stmt::~Stmt() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

Stmt& Stmt::bind(int index, const Value& v) {
    int rc = SQLITE_OK;
    switch (v.kind()) {
    case Value::Kind::Null: rc = sqlite3_bind_null(stmt_, index); break;
    case Value::Kind::Int: rc = sqlite3_bind_int64(stmt_, index, v.toInt()); break;
    case Value::Kind::Double: rc = sqlite3_bind_double(stmt_, index, v.toDouble()); break;
    case Value::Kind::Text: {
        const QByteArray utf8 = v.toString().toUtf8();
        rc = sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK) conn_->fail(rc);
    return *this;
}

Stmt& Stmt::bindInt(int index, std::int64_t v) {
    const int rc = sqlite3_bind_int64(stmt_, index, v);
    if (rc != SQLITE_OK) conn_->fail(rc);
    return *this;
}

bool Stmt::step() {
    if (!sqlite3_stmt_busy(stmt_) && !sqlite3_stmt_readonly(stmt_)) conn_->aboutToWrite();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    conn_->fail(sqlite3_extended_errcode(conn_->handle()));
}

void Stmt::run() {
    while (step()) {
    }
}

QString Stmt::columnText(int i) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)) : QString();
}

Value Stmt::column(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER: return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(stmt_, i));
    case SQLITE_NULL: return Value();
    default: return Value(columnText(i));
    }
}

}  // namespace db
