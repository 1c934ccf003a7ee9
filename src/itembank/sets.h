#pragma once
// The three kinds of record set behind Recordset (internal to the engine).

#include <memory>
#include <string>

#include "itembank/recordset.h"

namespace db {

class Database;
struct TableInfo;

// Rows addressed by their row id and read live from the file.
class RowidSet : public Recordset {
protected:
    RowidSet(int type, std::shared_ptr<Database> db, const TableInfo& table);

    long count() const override { return static_cast<long>(keys_.size()); }
    Value read(long row, int field) const override;
    bool isSmallInt(int field) const override;
    void writeInsert(const std::vector<Value>& row) override;
    void writeUpdate(long pos, const std::vector<Value>& row, const std::vector<bool>& changed) override;
    void writeDelete(long pos) override;
    // Where a freshly inserted row goes in the list.
    virtual void placeInserted(std::int64_t rowid, const std::vector<Value>& row);

    std::shared_ptr<Database> db_;
    QString table_;
    std::string quotedTable_;
    std::vector<bool> smallInt_;
    mutable std::vector<std::int64_t> keys_;
};

class Dynaset : public RowidSet {
public:
    Dynaset(std::shared_ptr<Database> db, const TableInfo& table);
    void Requery() override;

protected:
    long scanFor(long start, const Condition& cond) override;

private:
    QString order_;
};

class TableHandle : public RowidSet {
public:
    TableHandle(std::shared_ptr<Database> db, const TableInfo& table);
    QString Index() const override { return index_; }
    void setIndex(const QString& index) override;
    void Seek(const QString& comparison, const Value& key) override;
    void FindFirst(const QString&) override { notSupported("FindFirst"); }
    void FindNext(const QString&) override { notSupported("FindNext"); }
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    void MovePrevious() override;
    long RecordCount() override;
    long AbsolutePosition() const override;
    void AddNew() override;
    void Delete() override;

protected:
    long count() const override;
    void placeInserted(std::int64_t rowid, const std::vector<Value>& row) override;
    void writeDelete(long pos) override;

private:
    // The rows are read in index order when first needed, so that setting the
    // index right after opening reads them once.
    void load() const;
    // Until the rows are read, a Seek "=", MoveFirst or MoveLast finds its row
    // with one query and the handle stands on that row alone ("single"):
    // keys_ and indexValues_ hold just it, at position 0, and count() is 1.
    // Whatever needs the whole order reads the rows first (wholeList) and
    // stands on the same row again.
    void standOnly(std::int64_t rowid, const Value& indexValue);
    bool endRow(bool last);
    void moveToEnd(bool last);
    bool seekEqualByQuery(const Value& key);
    void wholeList();
    mutable bool loaded_ = false;
    bool single_ = false;
    static constexpr int kSeeksByQueryBeforeLoad = 256;
    int seeksByQuery_ = 0;
    QString index_;
    int indexField_ = -1;
    mutable std::vector<Value> indexValues_;  // parallel to keys_
};

// A static copy of rows: shared storage, and each snapshot's own order.
struct RowStore;

class Snapshot : public Recordset {
public:
    // A copy of a whole table, in table order.
    Snapshot(Database& db, const TableInfo& table);
    Snapshot(std::shared_ptr<const RowStore> store, FieldList fields, std::vector<int> order);
    std::shared_ptr<Recordset> CreateSnapshot() override;

protected:
    long count() const override { return static_cast<long>(order_.size()); }
    Value read(long row, int field) const override;

private:
    std::shared_ptr<const RowStore> store_;
    std::vector<int> order_;
};

}  // namespace db
