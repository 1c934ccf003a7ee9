#pragma once
// Record sets: the three ways a window looks at a table.
//
//   dynaset   (Database::OpenDynaset) the rows of one table in a fixed order,
//             read live: a change stored through another view is seen. Rows
//             can be added, edited and deleted; FindFirst / FindNext search.
//   table     (Database::OpenTable) rows in the order of the current index,
//             Seek "=" on it.
//   snapshot  (Database::CreateSnapshot) a static read-only copy; Sort and
//             Filter take effect in the snapshot derived next.
//
// The cursor: a set stands on a row, before its first row (BOF) or after its
// last row (EOF); moving back from the first row goes to BOF, moving on from
// the last row to EOF, and a further move in the same direction is an error,
// as is MoveFirst or MoveLast on an empty set. After Delete there is no
// current row until the next move.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "itembank/condition.h"
#include "itembank/value.h"

namespace db {

class Database;
struct TableInfo;

enum RecordsetType { dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4 };
enum EditModeValue { dbEditNone = 0, dbEditInProgress = 1, dbEditAdd = 2 };

class Recordset;

// What a data control needs to know of its set's moves.
class Binding {
public:
    virtual ~Binding() = default;
    // The set is about to leave its row (move, search, refresh) or store it:
    // pending edits are written now.
    virtual void aboutToLeaveRow(Recordset& rs) = 0;
    // The set is about to store its edit buffer: bound edits go into it now.
    virtual void aboutToUpdate(Recordset& rs) = 0;
    // The current row, or its contents, changed.
    virtual void rowChanged(Recordset& rs) = 0;
};

// One field of the current row: rs->Fields("sorrend2").setValue(430).
class Field {
public:
    Field(Recordset& rs, QString name) : rs_(rs), name_(std::move(name)) {}
    Value value() const;
    void setValue(const Value& v);
    operator Value() const { return value(); }  // NOLINT
    Field& operator=(const Value& v) {
        setValue(v);
        return *this;
    }

private:
    Recordset& rs_;
    QString name_;
};

class Recordset {
public:
    virtual ~Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    int Type() const { return type_; }
    const FieldList& fields() const { return fields_; }

    virtual bool isBOF() const;
    virtual bool isEOF() const;
    bool NoMatch() const { return noMatch_; }

    virtual void MoveFirst();
    virtual void MoveLast();
    virtual void MoveNext();
    virtual void MovePrevious();
    virtual long RecordCount();
    // 0-based position of the current row; -1 without one.
    virtual long AbsolutePosition() const;

    virtual void FindFirst(const QString& condition);
    virtual void FindNext(const QString& condition);

    // Table handles only.
    virtual QString Index() const;
    virtual void setIndex(const QString& index);
    virtual void Seek(const QString& comparison, const Value& key);

    // Snapshots: take effect in the snapshot derived next.
    QString Sort() const { return sort_; }
    void setSort(const QString& sort) { sort_ = sort; }
    QString Filter() const { return filter_; }
    void setFilter(const QString& filter) { filter_ = filter; }
    virtual std::shared_ptr<Recordset> CreateSnapshot();

    virtual void AddNew();
    virtual void Edit();
    virtual void Update();
    virtual void CancelUpdate();
    virtual void Delete();
    int EditMode() const { return editMode_; }

    Field Fields(const QString& name) { return Field(*this, name); }
    Value field(const QString& name) const;
    void setField(const QString& name, const Value& value);
    // Whether there is a row whose fields can be read (a current row, or a
    // row being added).
    bool hasCurrentRow() const;

    // The data control that shows this set, if any.
    void setBinding(Binding* binding) { binding_ = binding; }
    // Re-reads the rows and stands on the first one (dynasets).
    virtual void Requery();

protected:
    Recordset(int type, FieldList fields) : type_(type), fields_(std::move(fields)) {}

    int fieldIndex(const QString& name) const;
    [[noreturn]] void notSupported(const char* what) const;
    [[noreturn]] static void noCurrentRow();

    // The list cursor shared by dynasets and snapshots.
    virtual long count() const = 0;
    virtual Value read(long row, int field) const = 0;
    void moveTo(long pos);
    long findFrom(long start, const QString& condition);
    virtual long scanFor(long start, const Condition& cond);
    void leaving();
    void changed();
    // A conversion of a value to the form of a field.
    Value convert(int field, const Value& v, bool smallInt) const;
    virtual bool isSmallInt(int field) const;
    // Storage of edits; a set that cannot be written refuses.
    virtual void writeInsert(const std::vector<Value>& row);
    // Only the fields marked in changed are written.
    virtual void writeUpdate(long pos, const std::vector<Value>& row, const std::vector<bool>& changed);
    virtual void writeDelete(long pos);
    [[noreturn]] void readOnlyError() const;

    int type_;
    FieldList fields_;
    long pos_ = -1;          // -1 before the first row, count() after the last
    bool deleted_ = false;   // the current row has just been deleted
    bool noMatch_ = false;
    int editMode_ = dbEditNone;
    std::vector<Value> buffer_;    // the edit buffer
    std::vector<bool> loaded_;     // buffer fields read from the row so far
    std::vector<bool> dirty_;      // buffer fields set since Edit / AddNew
    long savedPos_ = -1;
    bool savedDeleted_ = false;
    QString sort_, filter_;
    Binding* binding_ = nullptr;
};

}  // namespace db
