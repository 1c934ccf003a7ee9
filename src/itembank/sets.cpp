#include "itembank/sets.h"

#include <QStringList>
#include <climits>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "itembank/database.h"
#include "itembank/sqlite.h"
#include "core/error.h"

namespace db {

namespace {

std::string quoted(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return ("\"" + q + "\"").toStdString();
}

std::string columnList(const FieldList& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ", ";
        out += quoted(fields[i].name);
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
    : Recordset(type, table.fields), db_(std::move(db)), table_(table.name), quotedTable_(quoted(table.name)),
      smallInt_(table.smallInt) {}

bool RowidSet::isSmallInt(int field) const { return smallInt_[static_cast<std::size_t>(field)]; }

Value RowidSet::read(long row, int field) const {
    Stmt st = db_->connection().prepare("SELECT " + quoted(fields_[static_cast<std::size_t>(field)].name) + " FROM " +
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
        sets += quoted(fields_[i].name) + " = ?" + std::to_string(columns.size());
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
    for (int f : used) cols += ", " + quoted(fields_[static_cast<std::size_t>(f)].name);
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
    if (!loaded_) load();
    return static_cast<long>(keys_.size());
}

void TableHandle::load() const {
    loaded_ = true;
    keys_.clear();
    indexValues_.clear();
    if (indexField_ < 0) {
        Stmt st = db_->connection().prepare("SELECT rowid FROM " + quotedTable_ + " ORDER BY rowid");
        while (st.step()) keys_.push_back(st.columnInt(0));
    } else {
        const std::string col = quoted(fields_[static_cast<std::size_t>(indexField_)].name);
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
    pos_ = 0;
    deleted_ = false;
    changed();
}

void TableHandle::Seek(const QString& comparison, const Value& key) {
    if (indexField_ < 0)
        throw qz::Error(qz::ErrIndexNotFound, QStringLiteral("Operation invalid without a current index."));
    leaving();
    count();
    const QString cmp = comparison.trimmed();
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
    // One cell: a whole number, a number, a text in the arena, or Null.
    struct Cell {
        union {
            std::int64_t i;
            double d;
            struct {
                std::uint32_t off, len;
            } s;
        };
        std::uint8_t kind;  // 0 null, 1 int, 2 double, 3 text
    };
    int columns = 0;
    int rows = 0;
    std::vector<Cell> cells;
    std::string arena;

    const Cell& cell(int row, int col) const {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(col)];
    }
    Value value(int row, int col) const {
        const Cell& c = cell(row, col);
        switch (c.kind) {
        case 1: return Value(c.i);
        case 2: return Value(c.d);
        case 3: return Value(QString::fromUtf8(arena.data() + c.s.off, static_cast<qsizetype>(c.s.len)));
        default: return Value();
        }
    }

    static std::shared_ptr<const RowStore> load(Connection& conn, const TableInfo& table) {
        auto store = std::make_shared<RowStore>();
        const int columns = static_cast<int>(table.fields.size());
        store->columns = columns;
        std::size_t expected = 0;
        {
            Stmt count = conn.prepare("SELECT count(*) FROM " + quoted(table.name));
            if (count.step()) expected = static_cast<std::size_t>(count.columnInt(0));
            store->arena.reserve(expected * 256);
        }
        store->cells.resize(expected * static_cast<std::size_t>(columns));
        Stmt st = conn.prepare("SELECT " + columnList(table.fields) + " FROM " + quoted(table.name) + " ORDER BY rowid");
        sqlite3_stmt* raw = st.raw();
        std::size_t at = 0;
        while (st.step()) {
            if (at + static_cast<std::size_t>(columns) > store->cells.size())
                store->cells.resize(at + static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                Cell& cell = store->cells[at++];
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
                    cell.s.off = static_cast<std::uint32_t>(store->arena.size());
                    cell.s.len = static_cast<std::uint32_t>(n);
                    store->arena.append(p, static_cast<std::size_t>(n));
                }
                }
            }
            ++store->rows;
        }
        store->cells.resize(at);
        return store;
    }

};

Snapshot::Snapshot(Database& db, const TableInfo& table) : Recordset(dbOpenSnapshot, table.fields) {
    // An unchanged file gives the same copy again: the database keeps the last
    // one while nothing has been written to the file since.
    auto cached = db.cachedCopy(table.name);
    std::shared_ptr<const RowStore> store = cached ? std::static_pointer_cast<const RowStore>(cached) : nullptr;
    if (!store) {
        store = RowStore::load(db.connection(), table);
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
            Value field(int index) const override { return store->value(row, index); }
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
