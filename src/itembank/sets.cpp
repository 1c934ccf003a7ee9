#include "itembank/sets.h"

#include <QStringList>
#include <climits>
#include <cmath>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "itembank/database.h"
#include "itembank/sqlite.h"
#include "core/error.h"

namespace db {

namespace {

std::string columnList(const FieldList& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ", ";
        out += quotedName(fields[i].name);
    }
    return out;
}

// Order of values in an index or a sort: Null first, numbers by value, text
// without regard to case.
int compareForOrder(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.isNumber() && b.isNumber()) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.isNumber() != b.isNumber()) {
        double x = 0, y = 0;
        if (Value::parseNumber(a.toString(), &x) && Value::parseNumber(b.toString(), &y))
            return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

[[noreturn]] void deletedByOthers() {
    throw qz::Error(qz::ErrDeletedRow, QStringLiteral("Record is deleted."));
}

}  // namespace

// ---------------------------------------------------------------- RowidSet

RowidSet::RowidSet(int type, std::shared_ptr<Database> db, const TableInfo& table)
    : Recordset(type, table.fields), db_(std::move(db)), table_(table.name), quotedTable_(quotedName(table.name)),
      smallInt_(table.smallInt) {}

bool RowidSet::isSmallInt(int field) const { return smallInt_[static_cast<std::size_t>(field)]; }

Value RowidSet::read(long row, int field) const {
    Stmt st = db_->connection().prepare("SELECT " + quotedName(fields_[static_cast<std::size_t>(field)].name) + " FROM " +
                                        quotedTable_ + " WHERE rowid = ?1");
    st.bindInt(1, keys_[static_cast<std::size_t>(row)]);
    if (!st.step()) deletedByOthers();
    return st.column(0);
}

void RowidSet::writeInsert(const std::vector<Value>& row) {
    std::string marks;
    for (std::size_t i = 0; i < row.size(); ++i) marks += i ? ", ?" : "?";
    Stmt st = db_->connection().prepare("INSERT INTO " + quotedTable_ + " (" + columnList(fields_) + ") VALUES (" +
                                        marks + ")");
    for (std::size_t i = 0; i < row.size(); ++i) st.bind(static_cast<int>(i + 1), row[i]);
    st.run();
    placeInserted(db_->connection().lastInsertRowid(), row);
}

void RowidSet::placeInserted(std::int64_t rowid, const std::vector<Value>&) { keys_.push_back(rowid); }

void RowidSet::writeUpdate(long pos, const std::vector<Value>& row, const std::vector<bool>& changed) {
    // Only the fields that were set are written; the row must still be there.
    std::string sets;
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (!changed[i]) continue;
        columns.push_back(i);
        if (columns.size() > 1) sets += ", ";
        sets += quotedName(fields_[i].name) + " = ?" + std::to_string(columns.size());
    }
    const std::int64_t rowid = keys_[static_cast<std::size_t>(pos)];
    if (columns.empty()) {
        Stmt st = db_->connection().prepare("SELECT 1 FROM " + quotedTable_ + " WHERE rowid = ?1");
        st.bindInt(1, rowid);
        if (!st.step()) deletedByOthers();
        return;
    }
    Stmt st = db_->connection().prepare("UPDATE " + quotedTable_ + " SET " + sets + " WHERE rowid = ?" +
                                        std::to_string(columns.size() + 1));
    for (std::size_t k = 0; k < columns.size(); ++k) st.bind(static_cast<int>(k + 1), row[columns[k]]);
    st.bindInt(static_cast<int>(columns.size() + 1), rowid);
    st.run();
    if (sqlite3_changes(db_->connection().handle()) == 0) deletedByOthers();
}

void RowidSet::writeDelete(long pos) {
    Stmt st = db_->connection().prepare("DELETE FROM " + quotedTable_ + " WHERE rowid = ?1");
    st.bindInt(1, keys_[static_cast<std::size_t>(pos)]);
    st.run();
    keys_.erase(keys_.begin() + pos);
}

// ---------------------------------------------------------------- Dynaset

Dynaset::Dynaset(std::shared_ptr<Database> db, const TableInfo& table)
    : RowidSet(dbOpenDynaset, std::move(db), table), order_(table.viewOrder) {
    Requery();
}

void Dynaset::Requery() {
    leaving();
    // Read whole before replacing: a read that fails (the bank in use, say)
    // leaves the view as it was rather than empty.
    std::vector<std::int64_t> keys;
    keys.reserve(keys_.size());
    {
        Stmt st = db_->connection().prepare("SELECT rowid FROM " + quotedTable_ + " ORDER BY " + order_.toStdString());
        while (st.step()) keys.push_back(st.columnInt(0));
    }
    keys_.swap(keys);
    noMatch_ = false;
    moveTo(keys_.empty() ? -1 : 0);
}

long Dynaset::scanFor(long start, const Condition& cond) {
    // One pass over the fields the condition reads, each row judged as it is
    // read (texts in place, without copies); then the first match in the
    // view's order from start.
    const std::vector<int>& used = cond.fieldsUsed();
    std::string cols = "rowid";
    for (int f : used) cols += ", " + quotedName(fields_[static_cast<std::size_t>(f)].name);
    struct Row : RowAccess {
        const Stmt* st;
        const std::vector<int>* used;
        int column(int index) const {
            for (std::size_t i = 0; i < used->size(); ++i)
                if ((*used)[i] == index) return static_cast<int>(i + 1);
            return -1;
        }
        Value field(int index) const override {
            const int c = column(index);
            return c < 0 ? Value() : st->column(c);
        }
        bool rawText(int index, const char** data, std::size_t* size) const override {
            const int c = column(index);
            if (c < 0 || st->columnType(c) != SQLITE_TEXT) return false;
            *data = reinterpret_cast<const char*>(sqlite3_column_text(st->raw(), c));
            *size = static_cast<std::size_t>(sqlite3_column_bytes(st->raw(), c));
            return *data != nullptr;
        }
    } row;
    row.used = &used;
    std::unordered_set<std::int64_t> matching;
    {
        Stmt st = db_->connection().prepare("SELECT " + cols + " FROM " + quotedTable_);
        row.st = &st;
        while (st.step())
            if (cond.matches(row)) matching.insert(st.columnInt(0));
    }
    if (matching.empty()) return -1;
    for (long i = start; i < count(); ++i)
        if (matching.count(keys_[static_cast<std::size_t>(i)])) return i;
    return -1;
}

// ---------------------------------------------------------------- TableHandle

TableHandle::TableHandle(std::shared_ptr<Database> db, const TableInfo& table)
    : RowidSet(dbOpenTable, std::move(db), table) {
    pos_ = 0;  // on the first row once the rows are read (BOF and EOF if none)
}

long TableHandle::count() const {
    if (single_) return 1;
    if (!loaded_) load();
    return static_cast<long>(keys_.size());
}

void TableHandle::standOnly(std::int64_t rowid, const Value& indexValue) {
    keys_.assign(1, rowid);
    indexValues_.clear();
    if (indexField_ >= 0) indexValues_.push_back(indexValue);
    single_ = true;
    moveTo(0);
}

bool TableHandle::endRow(bool last) {
    // The same order as load(): the index field, then the row id.
    const char* dir = last ? " DESC" : "";
    std::string sql = "SELECT rowid";
    std::string order;
    if (indexField_ >= 0) {
        const std::string col = quotedName(fields_[static_cast<std::size_t>(indexField_)].name);
        sql += ", " + col;
        order = col + dir + ", ";
    }
    sql += " FROM " + quotedTable_ + " ORDER BY " + order + "rowid" + dir + " LIMIT 1";
    Stmt st = db_->connection().prepare(sql);
    if (!st.step()) return false;
    standOnly(st.columnInt(0), indexField_ >= 0 ? st.column(1) : Value());
    return true;
}

bool TableHandle::seekEqualByQuery(const Value& key) {
    // Only where the file's own comparison agrees with the index order: a
    // number sought in a numeric field (exact as a double, as the index
    // compares it). Anything else is sought in the whole list.
    const FieldDef& def = fields_[static_cast<std::size_t>(indexField_)];
    if (def.type == FieldType::Text || !key.isNumber()) return false;
    const double x = key.toDouble();
    if (!std::isfinite(x) || std::fabs(x) >= 9007199254740992.0) return false;
    const std::string col = quotedName(def.name);
    Stmt st = db_->connection().prepare("SELECT rowid, " + col + " FROM " + quotedTable_ + " WHERE " + col +
                                        " = ?1 ORDER BY rowid LIMIT 1");
    st.bind(1, key);
    noMatch_ = !st.step();
    if (!noMatch_) standOnly(st.columnInt(0), st.column(1));
    return true;
}

void TableHandle::wholeList() {
    if (!single_) return;
    const std::int64_t rowid = keys_.front();
    const Value value = indexField_ >= 0 ? indexValues_.front() : Value();
    single_ = false;
    load();
    const auto it = std::find(keys_.begin(), keys_.end(), rowid);
    if (it != keys_.end()) {
        pos_ = it - keys_.begin();
        return;
    }
    // Deleted through another connection since it was found: it keeps its
    // place in the list, as in a list read before the delete, and reading it
    // tells that it is gone.
    std::size_t at = 0;
    while (at < keys_.size()) {
        const int c = indexField_ >= 0 ? compareForOrder(indexValues_[at], value) : 0;
        if (c > 0 || (c == 0 && keys_[at] > rowid)) break;
        ++at;
    }
    keys_.insert(keys_.begin() + static_cast<long>(at), rowid);
    if (indexField_ >= 0) indexValues_.insert(indexValues_.begin() + static_cast<long>(at), value);
    pos_ = static_cast<long>(at);
}

void TableHandle::moveToEnd(bool last) {
    if (loaded_) {
        if (last) Recordset::MoveLast();
        else Recordset::MoveFirst();
        return;
    }
    leaving();
    if (!endRow(last)) noCurrentRow();
}

void TableHandle::MoveFirst() { moveToEnd(false); }

void TableHandle::MoveLast() { moveToEnd(true); }

void TableHandle::MoveNext() {
    wholeList();
    Recordset::MoveNext();
}

void TableHandle::MovePrevious() {
    wholeList();
    Recordset::MovePrevious();
}

long TableHandle::RecordCount() {
    wholeList();
    return Recordset::RecordCount();
}

long TableHandle::AbsolutePosition() const {
    const_cast<TableHandle*>(this)->wholeList();
    return Recordset::AbsolutePosition();
}

void TableHandle::AddNew() {
    wholeList();
    Recordset::AddNew();
}

void TableHandle::Delete() {
    wholeList();
    Recordset::Delete();
}

void TableHandle::load() const {
    loaded_ = true;
    keys_.clear();
    indexValues_.clear();
    if (indexField_ < 0) {
        Stmt st = db_->connection().prepare("SELECT rowid FROM " + quotedTable_ + " ORDER BY rowid");
        while (st.step()) keys_.push_back(st.columnInt(0));
    } else {
        const std::string col = quotedName(fields_[static_cast<std::size_t>(indexField_)].name);
        Stmt st = db_->connection().prepare("SELECT rowid, " + col + " FROM " + quotedTable_ + " ORDER BY " + col +
                                            ", rowid");
        while (st.step()) {
            keys_.push_back(st.columnInt(0));
            indexValues_.push_back(st.column(1));
        }
    }
}

void TableHandle::setIndex(const QString& index) {
    const TableInfo& info = db_->table(table_);
    auto it = info.indexes.find(index.toLower());
    if (it == info.indexes.end())
        throw qz::Error(qz::ErrIndexNotFound, QStringLiteral("'%1' isn't an index in this table.").arg(index));
    leaving();
    index_ = index;
    indexField_ = fieldIndex(it->second);
    loaded_ = false;
    single_ = false;
    seeksByQuery_ = 0;
    pos_ = 0;
    deleted_ = false;
    changed();
}

void TableHandle::Seek(const QString& comparison, const Value& key) {
    if (indexField_ < 0)
        throw qz::Error(qz::ErrIndexNotFound, QStringLiteral("Operation invalid without a current index."));
    leaving();
    const QString cmp = comparison.trimmed();
    // A handle kept open and sought many times reads its rows after all: from
    // then on each Seek is a search in memory.
    if (!loaded_ && cmp == QLatin1String("=") && ++seeksByQuery_ <= kSeeksByQueryBeforeLoad && seekEqualByQuery(key))
        return;
    wholeList();
    count();
    auto less = [](const Value& a, const Value& b) { return compareForOrder(a, b) < 0; };
    long found = -1;
    const auto begin = indexValues_.begin(), end = indexValues_.end();
    if (cmp == QLatin1String("=") || cmp == QLatin1String(">=")) {
        auto it = std::lower_bound(begin, end, key, less);
        if (it != end && (cmp == QLatin1String(">=") || compareForOrder(*it, key) == 0)) found = it - begin;
    } else if (cmp == QLatin1String(">")) {
        auto it = std::upper_bound(begin, end, key, less);
        if (it != end) found = it - begin;
    } else if (cmp == QLatin1String("<=") || cmp == QLatin1String("<")) {
        auto it = cmp == QLatin1String("<") ? std::lower_bound(begin, end, key, less) : std::upper_bound(begin, end, key, less);
        if (it != begin) found = (it - begin) - 1;
    } else {
        throw qz::Error(qz::ErrInvalidCall, QStringLiteral("Invalid Seek comparison \"%1\".").arg(comparison));
    }
    noMatch_ = found < 0;
    if (found >= 0) moveTo(found);
}

void TableHandle::placeInserted(std::int64_t rowid, const std::vector<Value>& row) {
    if (!loaded_) {
        load();  // reads the new row too
        return;
    }
    if (indexField_ < 0) {
        keys_.push_back(rowid);
        return;
    }
    const Value& v = row[static_cast<std::size_t>(indexField_)];
    auto it = std::upper_bound(indexValues_.begin(), indexValues_.end(), v,
                               [](const Value& a, const Value& b) { return compareForOrder(a, b) < 0; });
    const long at = it - indexValues_.begin();
    indexValues_.insert(it, v);
    keys_.insert(keys_.begin() + at, rowid);
    if (at <= savedPos_) ++savedPos_;
}

void TableHandle::writeDelete(long pos) {
    RowidSet::writeDelete(pos);
    if (indexField_ >= 0) indexValues_.erase(indexValues_.begin() + pos);
}

// ---------------------------------------------------------------- Snapshot

struct RowStore {
    // One cell: a whole number, a number, a text in the arena, Null, or a
    // text not read from the file yet.
    struct Cell {
        union {
            std::int64_t i;
            double d;
            struct {
                std::uint32_t off, len;
            } s;
        };
        std::uint8_t kind;  // 0 null, 1 int, 2 double, 3 text, 4 not read yet
    };
    static constexpr std::uint8_t kUnread = 4;
    // After this many rows read one by one, the rest is read at once.
    static constexpr int kRowReadsBeforeAll = 256;

    int columns = 0;
    int rows = 0;
    // Field by field: a pass over one field of every row reads it in order.
    mutable std::vector<std::vector<Cell>> cells;
    mutable std::string arena;

    // A copy made from a connection of its own reads its numbers at once and
    // its texts when first needed: a whole text field for a filter or a sort,
    // the texts of one row when a row is shown. Until everything is read it
    // keeps that connection and the file version it was made at; a write by
    // this process to the file makes it read the rest first (beforeWriteTo).
    std::string quotedTable;
    std::vector<std::string> quotedFields;
    std::vector<std::int64_t> rowids;
    mutable std::vector<char> fieldRead;  // per column
    mutable std::unique_ptr<Connection> conn;
    mutable std::pair<std::int64_t, std::int64_t> version{};
    mutable int rowReads = 0;
    QString canonicalPath;

    const Cell& cell(int row, int col) const {
        return cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    }
    Cell& cellAt(int row, int col) const {
        return cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    }
    Value value(int row, int col) const {
        if (cell(row, col).kind == kUnread) readRow(row);
        const Cell& c = cell(row, col);
        switch (c.kind) {
        case 1: return Value(c.i);
        case 2: return Value(c.d);
        case 3: return Value(QString::fromUtf8(arena.data() + c.s.off, static_cast<qsizetype>(c.s.len)));
        default: return Value();
        }
    }
    // The value for a pass over every row (filter, sort): reads the whole
    // field first.
    Value valueForScan(int row, int col) const {
        if (!fieldRead[static_cast<std::size_t>(col)]) readFields({col});
        return value(row, col);
    }
    void readFieldForScan(int col) const {
        if (!fieldRead[static_cast<std::size_t>(col)]) readFields({col});
    }
    bool complete() const { return !conn; }

    // Reads every field not read yet.
    void readAll() const {
        std::vector<int> missing;
        for (int c = 0; c < columns; ++c)
            if (!fieldRead[static_cast<std::size_t>(c)]) missing.push_back(c);
        if (!missing.empty()) readFields(missing);
    }

    static void put(Cell& cell, sqlite3_stmt* raw, int c, std::string& arena) {
        switch (sqlite3_column_type(raw, c)) {
        case SQLITE_INTEGER:
            cell.kind = 1;
            cell.i = sqlite3_column_int64(raw, c);
            break;
        case SQLITE_FLOAT:
            cell.kind = 2;
            cell.d = sqlite3_column_double(raw, c);
            break;
        case SQLITE_NULL: cell.kind = 0; break;
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
            const int n = sqlite3_column_bytes(raw, c);
            cell.kind = 3;
            cell.s.off = static_cast<std::uint32_t>(arena.size());
            cell.s.len = static_cast<std::uint32_t>(n);
            arena.append(p, static_cast<std::size_t>(n));
        }
        }
    }

    static std::pair<std::int64_t, std::int64_t> versionOf(Connection& c) {
        Stmt st = c.prepare("PRAGMA data_version");
        const std::int64_t others = st.step() ? st.columnInt(0) : 0;
        return {others, sqlite3_total_changes64(c.handle())};
    }

    // Reads the given fields of every row in one pass over the table. Rows
    // are matched by row id, so a file changed by another program since the
    // copy was made gives Null for rows it no longer has.
    void readFields(const std::vector<int>& cols) const {
        if (!conn) return;
        std::string sql = "SELECT rowid";
        for (int c : cols) sql += ", " + quotedFields[static_cast<std::size_t>(c)];
        sql += " FROM " + quotedTable + " ORDER BY rowid";
        {
            Stmt st = conn->prepare(sql);
            sqlite3_stmt* raw = st.raw();
            std::size_t at = 0;
            while (at < rowids.size() && st.step()) {
                const std::int64_t id = sqlite3_column_int64(raw, 0);
                while (at < rowids.size() && rowids[at] < id) ++at;
                if (at >= rowids.size() || rowids[at] != id) continue;
                for (std::size_t k = 0; k < cols.size(); ++k) {
                    Cell& cell = cellAt(static_cast<int>(at), cols[k]);
                    if (cell.kind == kUnread) put(cell, raw, static_cast<int>(k) + 1, arena);
                }
                ++at;
            }
        }
        for (int c : cols) {
            for (int r = 0; r < rows; ++r)
                if (Cell& cell = cellAt(r, c); cell.kind == kUnread) cell.kind = 0;
            fieldRead[static_cast<std::size_t>(c)] = 1;
        }
        letGoWhenComplete();
    }

    // Reads the fields of one row not read yet.
    void readRow(int row) const {
        if (!conn) return;
        if (++rowReads > kRowReadsBeforeAll) {
            readAll();
            return;
        }
        std::vector<int> cols;
        std::string sql = "SELECT ";
        for (int c = 0; c < columns; ++c) {
            if (fieldRead[static_cast<std::size_t>(c)]) continue;
            if (!cols.empty()) sql += ", ";
            sql += quotedFields[static_cast<std::size_t>(c)];
            cols.push_back(c);
        }
        sql += " FROM " + quotedTable + " WHERE rowid = ?1";
        Stmt st = conn->prepare(sql);
        st.bindInt(1, rowids[static_cast<std::size_t>(row)]);
        const bool found = st.step();
        for (std::size_t k = 0; k < cols.size(); ++k) {
            Cell& cell = cellAt(row, cols[k]);
            if (cell.kind != kUnread) continue;
            if (found) put(cell, st.raw(), static_cast<int>(k), arena);
            else cell.kind = 0;
        }
    }

    void letGoWhenComplete() const {
        for (char read : fieldRead)
            if (!read) return;
        conn.reset();
    }

    // Before this process writes to the file: read the rest while the file
    // is still as it was. A copy that cannot read any more (the file locked
    // by the writer) reads on demand later, from the file as it is then.
    void beforeWrite() const {
        if (!conn) return;
        // Never wait for the writer's lock: it is held by this very process.
        sqlite3_busy_timeout(conn->handle(), 0);
        try {
            if (versionOf(*conn) == version) readAll();
        } catch (const qz::Error&) {
        }
        if (conn) sqlite3_busy_timeout(conn->handle(), 2000);
    }

    // The whole copy at once, through the database's own connection.
    static std::shared_ptr<const RowStore> load(Connection& conn, const TableInfo& table) {
        auto store = std::make_shared<RowStore>();
        const int columns = static_cast<int>(table.fields.size());
        store->columns = columns;
        store->fieldRead.assign(static_cast<std::size_t>(columns), 1);
        std::size_t expected = 0;
        {
            Stmt count = conn.prepare("SELECT count(*) FROM " + quotedName(table.name));
            if (count.step()) expected = static_cast<std::size_t>(count.columnInt(0));
            store->arena.reserve(expected * 256);
        }
        store->cells.resize(static_cast<std::size_t>(columns));
        for (auto& field : store->cells) field.reserve(expected);
        Stmt st = conn.prepare("SELECT " + columnList(table.fields) + " FROM " + quotedName(table.name) + " ORDER BY rowid");
        sqlite3_stmt* raw = st.raw();
        Cell cell{};
        while (st.step()) {
            for (int c = 0; c < columns; ++c) {
                put(cell, raw, c, store->arena);
                store->cells[static_cast<std::size_t>(c)].push_back(cell);
            }
            ++store->rows;
        }
        return store;
    }

    // Row ids and numbers now, texts on demand, through a connection of the
    // copy's own.
    static std::shared_ptr<const RowStore> loadOnDemand(const QString& path, const TableInfo& table);
};

namespace {
// The copies that still read on demand, for beforeWriteTo.
std::vector<std::weak_ptr<const RowStore>>& onDemandStores() {
    static std::vector<std::weak_ptr<const RowStore>> stores;
    return stores;
}
}  // namespace

std::shared_ptr<const RowStore> RowStore::loadOnDemand(const QString& path, const TableInfo& table) {
    auto store = std::make_shared<RowStore>();
    store->conn = std::make_unique<Connection>(path);
    Connection& conn = *store->conn;
    const int columns = static_cast<int>(table.fields.size());
    store->columns = columns;
    store->quotedTable = quotedName(table.name);
    for (const FieldDef& f : table.fields) store->quotedFields.push_back(quotedName(f.name));
    // Read at once: the numbers that filters and sorts use (levels, order
    // keys). A number that is a unique key of its own (the serial number)
    // only tells rows apart: it is read with the texts, when a row is shown.
    std::vector<bool> uniqueKey(static_cast<std::size_t>(columns), false);
    {
        std::vector<std::string> unique;
        Stmt list = conn.prepare("PRAGMA index_list(" + store->quotedTable + ")");
        while (list.step())
            if (list.columnInt(2) != 0) unique.push_back(quotedName(list.columnText(1)));
        for (const std::string& index : unique) {
            Stmt info = conn.prepare("PRAGMA index_info(" + index + ")");
            std::vector<QString> names;
            while (info.step()) names.push_back(info.columnText(2));
            if (names.size() != 1) continue;
            const int c = findField(table.fields, names.front());
            if (c >= 0) uniqueKey[static_cast<std::size_t>(c)] = true;
        }
    }
    std::vector<int> now;
    for (int c = 0; c < columns; ++c)
        if (table.fields[static_cast<std::size_t>(c)].type != FieldType::Text && !uniqueKey[static_cast<std::size_t>(c)])
            now.push_back(c);
    store->fieldRead.assign(static_cast<std::size_t>(columns), 0);
    for (int c : now) store->fieldRead[static_cast<std::size_t>(c)] = 1;

    store->version = versionOf(conn);
    std::string sql = "SELECT rowid";
    for (int c : now) sql += ", " + store->quotedFields[static_cast<std::size_t>(c)];
    sql += " FROM " + store->quotedTable + " ORDER BY rowid";
    std::size_t expected = 0;
    {
        Stmt last = conn.prepare("SELECT max(rowid) FROM " + store->quotedTable);
        if (last.step()) expected = static_cast<std::size_t>(std::clamp<std::int64_t>(last.columnInt(0), 0, 1 << 20));
    }
    store->cells.resize(static_cast<std::size_t>(columns));
    for (int c : now) store->cells[static_cast<std::size_t>(c)].reserve(expected);
    store->rowids.reserve(expected);
    {
        Stmt st = conn.prepare(sql);
        sqlite3_stmt* raw = st.raw();
        Cell cell{};
        while (st.step()) {
            store->rowids.push_back(sqlite3_column_int64(raw, 0));
            for (std::size_t k = 0; k < now.size(); ++k) {
                put(cell, raw, static_cast<int>(k) + 1, store->arena);
                store->cells[static_cast<std::size_t>(now[k])].push_back(cell);
            }
            ++store->rows;
        }
    }
    Cell unread{};
    unread.kind = kUnread;
    for (int c = 0; c < columns; ++c)
        if (!store->fieldRead[static_cast<std::size_t>(c)])
            store->cells[static_cast<std::size_t>(c)].assign(static_cast<std::size_t>(store->rows), unread);
    if (store->version != versionOf(conn)) {
        // Written to while being read: read it whole, as it is now.
        return load(conn, table);
    }
    store->canonicalPath = conn.canonicalPath();
    store->letGoWhenComplete();
    if (!store->complete()) {
        auto& stores = onDemandStores();
        stores.erase(std::remove_if(stores.begin(), stores.end(), [](const auto& w) { return w.expired(); }), stores.end());
        stores.push_back(store);
    }
    return store;
}

void beforeWriteTo(const QString& canonicalPath) {
    static bool busy = false;  // the copies' own reads are not writes
    auto& stores = onDemandStores();
    if (busy || stores.empty()) return;
    busy = true;
    for (const auto& w : std::vector<std::weak_ptr<const RowStore>>(stores))
        if (auto store = w.lock(); store && store->canonicalPath == canonicalPath) store->beforeWrite();
    stores.erase(std::remove_if(stores.begin(), stores.end(),
                                [](const auto& w) {
                                    auto s = w.lock();
                                    return !s || s->complete();
                                }),
                 stores.end());
    busy = false;
}

Snapshot::Snapshot(Database& db, const TableInfo& table) : Recordset(dbOpenSnapshot, table.fields) {
    // An unchanged file gives the same copy again: the database keeps the last
    // one while nothing has been written to the file since.
    auto cached = db.cachedCopy(table.name);
    std::shared_ptr<const RowStore> store = cached ? std::static_pointer_cast<const RowStore>(cached) : nullptr;
    if (!store) {
        // Inside a transaction only the database's own connection sees its
        // changes: the copy is read whole through it.
        store = db.connection().inTransaction() ? RowStore::load(db.connection(), table)
                                                : RowStore::loadOnDemand(db.Name(), table);
        db.keepCopy(table.name, store);
    }
    order_.resize(static_cast<std::size_t>(store->rows));
    for (int r = 0; r < store->rows; ++r) order_[static_cast<std::size_t>(r)] = r;
    store_ = std::move(store);
    pos_ = order_.empty() ? -1 : 0;
}

Snapshot::Snapshot(std::shared_ptr<const RowStore> store, FieldList fields, std::vector<int> order)
    : Recordset(dbOpenSnapshot, std::move(fields)), store_(std::move(store)), order_(std::move(order)) {
    pos_ = order_.empty() ? -1 : 0;
}

Value Snapshot::read(long row, int field) const { return store_->value(order_[static_cast<std::size_t>(row)], field); }

std::shared_ptr<Recordset> Snapshot::CreateSnapshot() {
    std::vector<int> order;
    if (filter_.trimmed().isEmpty()) {
        order = order_;
    } else {
        const Condition cond = Condition::compile(filter_, fields_);
        struct Row : RowAccess {
            const RowStore* store;
            int row;
            Value field(int index) const override { return store->valueForScan(row, index); }
        } row;
        row.store = store_.get();
        for (int r : order_) {
            row.row = r;
            if (cond.matches(row)) order.push_back(r);
        }
    }
    if (!sort_.trimmed().isEmpty()) {
        struct Key {
            int field;
            bool descending;
        };
        std::vector<Key> keys;
        for (const QString& part : sort_.split(QLatin1Char(','))) {
            QStringList words = part.simplified().split(QLatin1Char(' '));
            if (words.isEmpty() || words.size() > 2 || words[0].isEmpty())
                throw qz::Error(qz::ErrSyntax, QStringLiteral("Invalid sort \"%1\".").arg(sort_));
            bool desc = false;
            if (words.size() == 2) {
                if (words[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0) desc = true;
                else if (words[1].compare(QLatin1String("asc"), Qt::CaseInsensitive) != 0)
                    throw qz::Error(qz::ErrSyntax, QStringLiteral("Invalid sort \"%1\".").arg(sort_));
            }
            QString name = words[0];
            if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) name = name.mid(1, name.size() - 2);
            keys.push_back({fieldIndex(name), desc});
        }
        // The sort values of every row, read once; whole-number keys (the
        // usual case: sorrend2) are compared as plain integers.
        const std::size_t rows = static_cast<std::size_t>(store_->rows);
        std::vector<std::vector<Value>> values(keys.size());
        std::vector<std::vector<std::int64_t>> ints(keys.size());
        for (std::size_t k = 0; k < keys.size(); ++k) {
            store_->readFieldForScan(keys[k].field);
            bool allInts = true;
            for (int r : order) {
                const RowStore::Cell& c = store_->cell(r, keys[k].field);
                if (c.kind != 1 && c.kind != 0) allInts = false;
            }
            if (allInts) {
                ints[k].resize(rows);
                for (int r : order) {
                    const RowStore::Cell& c = store_->cell(r, keys[k].field);
                    ints[k][static_cast<std::size_t>(r)] = c.kind == 1 ? c.i : INT64_MIN;  // Null first
                }
            } else {
                values[k].resize(rows);
                for (int r : order) values[k][static_cast<std::size_t>(r)] = store_->value(r, keys[k].field);
            }
        }
        if (keys.size() == 1 && !ints[0].empty() && !order.empty()) {
            // One whole-number key (sorrend2, 1 to 3000): when the keys span
            // a narrow range, count them; equal keys keep their order.
            const std::vector<std::int64_t>& key = ints[0];
            std::int64_t lo = INT64_MAX, hi = INT64_MIN;
            for (int r : order) {
                lo = std::min(lo, key[static_cast<std::size_t>(r)]);
                hi = std::max(hi, key[static_cast<std::size_t>(r)]);
            }
            if (lo > INT64_MIN && hi - lo <= 4 * static_cast<std::int64_t>(order.size()) + 4096) {
                const std::size_t span = static_cast<std::size_t>(hi - lo) + 1;
                std::vector<int> start(span + 1, 0);
                auto slot = [&](int r) {
                    const auto k = static_cast<std::size_t>(key[static_cast<std::size_t>(r)] - lo);
                    return keys[0].descending ? span - 1 - k : k;
                };
                for (int r : order) ++start[slot(r) + 1];
                for (std::size_t i = 1; i <= span; ++i) start[i] += start[i - 1];
                std::vector<int> sorted(order.size());
                for (int r : order) sorted[static_cast<std::size_t>(start[slot(r)]++)] = r;
                return std::make_shared<Snapshot>(store_, fields_, std::move(sorted));
            }
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
            for (std::size_t k = 0; k < keys.size(); ++k) {
                int c = 0;
                if (!ints[k].empty()) c = ints[k][ia] < ints[k][ib] ? -1 : (ints[k][ia] > ints[k][ib] ? 1 : 0);
                else c = compareForOrder(values[k][ia], values[k][ib]);
                if (c != 0) return keys[k].descending ? c > 0 : c < 0;
            }
            return false;
        });
    }
    return std::make_shared<Snapshot>(store_, fields_, std::move(order));
}

}  // namespace db
