#pragma once
// The database engine of the item bank, in the shape the windows use it:
//
//   auto db = DBEngine::OpenDatabase(DbPath);
//   auto RandomSet = db->OpenTable("test1");
//   RandomSet->setIndex("sorszam");
//   RandomSet->Seek("=", key);
//
// A database is one connection to the file, opened shared: several databases
// may be open on one file at once, in this process and in others. No
// transaction stays open between two events unless a caller begins one, and a
// Transaction guard ends it when it goes.

#include <QString>
#include <map>
#include <memory>

#include "itembank/condition.h"
#include "itembank/recordset.h"

namespace db {

// The SQLite connection is the engine's own business.
class Connection;

// What the engine knows of one table.
struct TableInfo {
    QString name;                          // as stored ("test1")
    FieldList fields;                      // in table order
    std::vector<bool> smallInt;            // 16-bit whole-number fields
    std::map<QString, QString> indexes;    // index name (lower case) -> its field
    QString viewOrder;                     // the order of a bound view's rows
};

class Database : public std::enable_shared_from_this<Database> {
public:
    explicit Database(const QString& path);
    ~Database();

    // The file's path.
    QString Name() const;
    bool readOnly() const;

    // A table handle: rows in the order of the current index.
    std::shared_ptr<Recordset> OpenTable(const QString& table);
    // A static read-only copy of a table, in table order.
    std::shared_ptr<Recordset> CreateSnapshot(const QString& table);
    // The updatable, searchable view a data control works on: test1 by
    // ascending serial number, any other table in the order rows were added.
    std::shared_ptr<Recordset> OpenDynaset(const QString& table);

    // Explicit transactions, for writing many rows at once.
    void BeginTrans();
    // A transaction that takes the file for writing at once (waiting a while
    // for another program to let go), so that it cannot fail half-way for
    // want of the lock.
    void BeginWriteTrans();
    void CommitTrans();
    void Rollback();

    // The table of that name (without regard to case); throws when none.
    const TableInfo& table(const QString& name);
    Connection& connection() { return *conn_; }

    // The last static copy of a table, while the file is unchanged since it
    // was read (by this connection or any other); nullptr otherwise.
    std::shared_ptr<const void> cachedCopy(const QString& table);
    void keepCopy(const QString& table, std::shared_ptr<const void> copy);

private:
    // Changes whenever anything is written to the file, by anyone.
    std::pair<std::int64_t, std::int64_t> fileVersion();

    std::unique_ptr<Connection> conn_;
    std::map<QString, TableInfo> tables_;  // by lower-case name
    struct Copy {
        std::shared_ptr<const void> data;
        std::pair<std::int64_t, std::int64_t> version;
    };
    std::map<QString, Copy> copies_;  // by lower-case name
};

// Commits when told to; rolls back if it goes out of scope before.
class Transaction {
public:
    enum Mode { Deferred, Write };
    explicit Transaction(Database& db, Mode mode = Deferred) : db_(db) {
        if (mode == Write) db_.BeginWriteTrans();
        else db_.BeginTrans();
    }
    ~Transaction();
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

struct DBEngine {
    // Opens the item bank at path, creating it with the default items when no
    // file is there. A file that is not an item bank of this program is never
    // touched: the error names the path and what is wrong.
    static std::shared_ptr<Database> OpenDatabase(const QString& path);
};

}  // namespace db
