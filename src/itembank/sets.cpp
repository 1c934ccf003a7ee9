#include "sets.h"

#include <QStringList>
#include <algorithm>
#include <unordered_map>

#include "database.h"
#include "error.h"

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

void RowidSet::writeUpdate(long pos, const std::vector<Value>& row) {
    std::string sets;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i) sets += ", ";
        sets += quoted(fields_[i].name) + " = ?" + std::to_string(i + 1);
    }
    Stmt st = db_->connection().prepare("UPDATE " + quotedTable_ + " SET " + sets + " WHERE rowid = ?" +
                                        std::to_string(fields_.size() + 1));
    for (std::size_t i = 0; i < row.size(); ++i) st.bind(static_cast<int>(i + 1), row[i]);
    st.bindInt(static_cast<int>(fields_.size() + 1), keys_[static_cast<std::size_t>(pos)]);
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
    keys_.clear();
    Stmt st = db_->connection().prepare("SELECT rowid FROM " + quotedTable_ + " ORDER BY " + order_.toStdString());
    while (st.step()) keys_.push_back(st.columnInt(0));
    noMatch_ = false;
    moveTo(keys_.empty() ? -1 : 0);
}

long Dynaset::scanFor(long start, const Condition& cond) {
    // One pass over the fields the condition reads, then the view's order.
    const std::vector<int>& used = cond.fieldsUsed();
    std::string cols = "rowid";
    for (int f : used) cols += ", " + quoted(fields_[static_cast<std::size_t>(f)].name);
    std::unordered_map<std::int64_t, std::vector<Value>> rows;
    rows.reserve(keys_.size());
    {
        Stmt st = db_->connection().prepare("SELECT " + cols + " FROM " + quotedTable_);
        while (st.step()) {
            std::vector<Value> values;
            values.reserve(used.size());
            for (std::size_t i = 0; i < used.size(); ++i) values.push_back(st.column(static_cast<int>(i + 1)));
            rows.emplace(st.columnInt(0), std::move(values));
        }
    }
    struct Row : RowAccess {
        const std::vector<int>* used;
        const std::vector<Value>* values;
        Value field(int index) const override {
            for (std::size_t i = 0; i < used->size(); ++i)
                if ((*used)[i] == index) return (*values)[i];
            return Value();
        }
    } row;
    row.used = &used;
    for (long i = start; i < count(); ++i) {
        auto it = rows.find(keys_[static_cast<std::size_t>(i)]);
        if (it == rows.end()) continue;  // deleted through another view
        row.values = &it->second;
        if (cond.matches(row)) return i;
    }
    return -1;
}

// ---------------------------------------------------------------- TableHandle

TableHandle::TableHandle(std::shared_ptr<Database> db, const TableInfo& table)
    : RowidSet(dbOpenTable, std::move(db), table) {
    load();
}

void TableHandle::load() {
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
    pos_ = keys_.empty() ? -1 : 0;
    deleted_ = false;
}

void TableHandle::setIndex(const QString& index) {
    const TableInfo& info = db_->table(table_);
    auto it = info.indexes.find(index.toLower());
    if (it == info.indexes.end())
        throw qz::Error(qz::ErrIndexNotFound, QStringLiteral("'%1' isn't an index in this table.").arg(index));
    leaving();
    index_ = index;
    indexField_ = fieldIndex(it->second);
    load();
    changed();
}

void TableHandle::Seek(const QString& comparison, const Value& key) {
    if (indexField_ < 0)
        throw qz::Error(qz::ErrIndexNotFound, QStringLiteral("Operation invalid without a current index."));
    leaving();
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
    struct Cell {
        int kind = 0;  // 0 null, 1 int, 2 double, 3 text
        std::int64_t i = 0;
        double d = 0;
        std::uint32_t off = 0, len = 0;
    };
    int columns = 0;
    std::vector<Cell> cells;
    std::string arena;

    Value value(int row, int col) const {
        const Cell& c = cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(col)];
        switch (c.kind) {
        case 1: return Value(c.i);
        case 2: return Value(c.d);
        case 3: return Value(QString::fromUtf8(arena.data() + c.off, static_cast<qsizetype>(c.len)));
        default: return Value();
        }
    }
};

Snapshot::Snapshot(Database& db, const TableInfo& table) : Recordset(dbOpenSnapshot, table.fields) {
    auto store = std::make_shared<RowStore>();
    store->columns = static_cast<int>(fields_.size());
    Stmt st = db.connection().prepare("SELECT " + columnList(fields_) + " FROM " + quoted(table.name) +
                                      " ORDER BY rowid");
    int rows = 0;
    while (st.step()) {
        for (int c = 0; c < store->columns; ++c) {
            RowStore::Cell cell;
            switch (st.columnType(c)) {
            case SQLITE_INTEGER: cell.kind = 1; cell.i = st.columnInt(c); break;
            case SQLITE_FLOAT: cell.kind = 2; cell.d = sqlite3_column_double(st.raw(), c); break;
            case SQLITE_NULL: break;
            default: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st.raw(), c));
                const int n = sqlite3_column_bytes(st.raw(), c);
                cell.kind = 3;
                cell.off = static_cast<std::uint32_t>(store->arena.size());
                cell.len = static_cast<std::uint32_t>(n);
                store->arena.append(p, static_cast<std::size_t>(n));
            }
            }
            store->cells.push_back(cell);
        }
        order_.push_back(rows++);
    }
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
        const RowStore* store = store_.get();
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            for (const Key& k : keys) {
                const int c = compareForOrder(store->value(a, k.field), store->value(b, k.field));
                if (c != 0) return k.descending ? c > 0 : c < 0;
            }
            return false;
        });
    }
    return std::make_shared<Snapshot>(store_, fields_, std::move(order));
}

}  // namespace db
