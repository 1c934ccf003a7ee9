#pragma once
// A thin layer over the SQLite C API: one connection with a cache of prepared
// statements, statements that reset themselves, and the mapping of SQLite's
// result codes to the engine's errors.

#include <QString>
#include <sqlite3.h>
#include <map>
#include <string>

#include "itembank/value.h"

namespace db {

class Connection;

// Whether the file, or the folder it is in, is marked read-only.
bool pathIsReadOnly(const QString& path);
bool fileIsReadOnly(const QString& path);
bool folderIsReadOnly(const QString& path);

// Called before any connection of this process writes to the file at this
// canonical path (sets.cpp): static copies of the file that still read some
// of their fields on demand read the rest now, so that they stay copies of
// the file as it was.
void beforeWriteTo(const QString& canonicalPath);

// A table, field or index name as an SQL identifier: in double quotes, any
// double quote in it doubled.
std::string quotedName(const QString& name);

// A prepared statement in use; resets itself (and its bindings) when it goes.
class Stmt {
public:
    Stmt(Connection& conn, sqlite3_stmt* stmt) : conn_(&conn), stmt_(stmt) {}
    Stmt(Stmt&& other) noexcept : conn_(other.conn_), stmt_(other.stmt_) { other.stmt_ = nullptr; }
    Stmt(const Stmt&) = delete;
    ~Stmt();

    Stmt& bind(int index, const Value& v);
    Stmt& bindInt(int index, std::int64_t v);
    // Steps once: true while a row is there.
    bool step();
    // Steps to the end (for writes).
    void run();

    int columnCount() const { return sqlite3_column_count(stmt_); }
    Value column(int i) const;
    std::int64_t columnInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    int columnType(int i) const { return sqlite3_column_type(stmt_, i); }
    QString columnText(int i) const;
    sqlite3_stmt* raw() const { return stmt_; }

private:
    Connection* conn_;
    sqlite3_stmt* stmt_;
};

class Connection {
public:
    // Opens an existing file read-write (read-only when the file cannot be
    // written), shared with other connections and processes.
    explicit Connection(const QString& path, bool create = false);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Stmt prepare(const std::string& sql);
    void exec(const std::string& sql);
    bool readOnly() const;
    std::int64_t lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
    bool inTransaction() const { return !sqlite3_get_autocommit(db_); }
    const QString& path() const { return path_; }
    // The file's path with links resolved, the same for every connection to it.
    const QString& canonicalPath() const;
    sqlite3* handle() const { return db_; }
    // Runs beforeWriteTo for this connection's file.
    void aboutToWrite() const;

    // Throws the engine error that matches an SQLite result code.
    [[noreturn]] void fail(int rc, const char* what = nullptr) const;

private:
    QString path_;
    mutable QString canonical_;
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> cache_;
};

}  // namespace db
