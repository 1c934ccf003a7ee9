#include "itembank/database.h"

#include <QFile>
#include <sys/stat.h>

#include <cerrno>

#include "core/error.h"
#include "itembank/itembank.h"
#include "itembank/sets.h"
#include "itembank/sqlite.h"

namespace db {

Database::Database(const QString& path) : conn_(std::make_unique<Connection>(path)) {}

QString Database::Name() const { return conn_->path(); }

bool Database::readOnly() const { return conn_->readOnly(); }

Database::~Database() = default;

const TableInfo& Database::table(const QString& name) {
    const QString key = name.toLower();
    auto it = tables_.find(key);
    if (it != tables_.end()) return it->second;

    TableInfo info;
    {
        Stmt st = conn_->prepare("SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?1)");
        st.bind(1, Value(name));
        if (!st.step())
            throw qz::Error(qz::ErrTableNotFound, QStringLiteral("The item bank has no table \"%1\".").arg(name));
        info.name = st.columnText(0);
    }
    const std::string quotedTable = quotedName(info.name);
    {
        Stmt st = conn_->prepare("PRAGMA table_info(" + quotedTable + ")");
        while (st.step()) {
            const QString type = st.columnText(2).toUpper();
            FieldType ft = FieldType::Text;
            if (type.contains(QLatin1String("INT"))) ft = FieldType::Integer;
            else if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("DOUB")) ||
                     type.contains(QLatin1String("FLOA")))
                ft = FieldType::Double;
            info.fields.push_back({st.columnText(1), ft});
            info.smallInt.push_back(type == QLatin1String("SMALLINT"));
        }
    }
    QStringList indexNames;
    {
        Stmt st = conn_->prepare("PRAGMA index_list(" + quotedTable + ")");
        while (st.step()) indexNames << st.columnText(1);
    }
    for (const QString& idx : indexNames) {
        Stmt st = conn_->prepare("PRAGMA index_info(" + quotedName(idx) + ")");
        if (st.step()) info.indexes[idx.toLower()] = st.columnText(2);
    }
    // A table with serial numbers is viewed in their order, any other in the
    // order its rows were added.
    info.viewOrder = findField(info.fields, QStringLiteral("sorszam")) >= 0 ? QStringLiteral("sorszam, rowid")
                                                                            : QStringLiteral("rowid");
    return tables_.emplace(key, std::move(info)).first->second;
}

std::shared_ptr<Recordset> Database::OpenTable(const QString& table) {
    return std::make_shared<TableHandle>(shared_from_this(), this->table(table));
}

std::shared_ptr<Recordset> Database::CreateSnapshot(const QString& table) {
    return std::make_shared<Snapshot>(*this, this->table(table));
}

std::shared_ptr<Recordset> Database::OpenDynaset(const QString& table) {
    return std::make_shared<Dynaset>(shared_from_this(), this->table(table));
}

std::pair<std::int64_t, std::int64_t> Database::fileVersion() {
    Stmt st = conn_->prepare("PRAGMA data_version");
    const std::int64_t others = st.step() ? st.columnInt(0) : 0;
    return {others, sqlite3_total_changes64(conn_->handle())};
}

std::shared_ptr<const void> Database::cachedCopy(const QString& table) {
    auto it = copies_.find(table.toLower());
    if (it == copies_.end() || conn_->inTransaction() || it->second.version != fileVersion()) return nullptr;
    return it->second.data;
}

void Database::keepCopy(const QString& table, std::shared_ptr<const void> copy) {
    if (conn_->inTransaction()) return;
    copies_[table.toLower()] = Copy{std::move(copy), fileVersion()};
}

void Database::BeginTrans() { conn_->exec("BEGIN"); }

void Database::BeginWriteTrans() { conn_->exec("BEGIN IMMEDIATE"); }

void Database::CommitTrans() { conn_->exec("COMMIT"); }

void Database::Rollback() {
    if (conn_->inTransaction()) conn_->exec("ROLLBACK");
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.Rollback();
        } catch (const qz::Error&) {
            // the connection rolls back on close as well
        }
    }
}

void Transaction::commit() {
    db_.CommitTrans();
    done_ = true;
}

std::shared_ptr<Database> DBEngine::OpenDatabase(const QString& path) {
    // Only a path with nothing at all there is a first start: a link to
    // nowhere is refused by checkFile, never written through.
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT)
        itembank::createItemBank(path, itembank::defaultItems());
    itembank::checkFile(path);
    auto db = std::make_shared<Database>(path);
    itembank::checkSchema(db->connection());
    itembank::checkIntegrity(db->connection());
    return db;
}

}  // namespace db
