#include "itembank/recordset.h"

#include "core/error.h"
#include "itembank/sets.h"

namespace db {

Value Field::value() const { return rs_.field(name_); }
void Field::setValue(const Value& v) { rs_.setField(name_, v); }

void Recordset::noCurrentRow() { throw qz::Error(qz::ErrNoCurrentRow, QStringLiteral("No current record.")); }

void Recordset::notSupported(const char* what) const {
    throw qz::Error(qz::ErrNotSupported,
                    QStringLiteral("Operation is not supported for this type of object (%1).").arg(QLatin1String(what)));
}

int Recordset::fieldIndex(const QString& name) const {
    const int i = findField(fields_, name);
    if (i < 0) throw qz::Error(qz::ErrUnknownField, QStringLiteral("Item not found in this collection: %1.").arg(name));
    return i;
}

bool Recordset::isBOF() const { return count() == 0 || pos_ < 0; }

bool Recordset::isEOF() const {
    const long n = count();
    return n == 0 || (pos_ >= n && !deleted_);
}

bool Recordset::hasCurrentRow() const {
    if (editMode_ == dbEditAdd) return true;
    return !deleted_ && pos_ >= 0 && pos_ < count();
}

long Recordset::AbsolutePosition() const {
    if (editMode_ == dbEditAdd || deleted_ || pos_ < 0 || pos_ >= count()) return -1;
    return pos_;
}

long Recordset::RecordCount() { return count(); }

void Recordset::leaving() {
    if (binding_) binding_->aboutToLeaveRow(*this);
    if (editMode_ != dbEditNone) CancelUpdate();
}

void Recordset::changed() {
    if (binding_) binding_->rowChanged(*this);
}

void Recordset::moveTo(long pos) {
    pos_ = pos;
    deleted_ = false;
    changed();
}

void Recordset::MoveFirst() {
    leaving();
    if (count() == 0) noCurrentRow();
    moveTo(0);
}

void Recordset::MoveLast() {
    leaving();
    const long n = count();
    if (n == 0) noCurrentRow();
    moveTo(n - 1);
}

void Recordset::MoveNext() {
    leaving();
    if (isEOF()) noCurrentRow();
    moveTo(deleted_ ? pos_ : pos_ + 1);
}

void Recordset::MovePrevious() {
    leaving();
    if (isBOF()) noCurrentRow();
    moveTo(pos_ - 1);
}

long Recordset::scanFor(long start, const Condition& cond) {
    struct Row : RowAccess {
        const Recordset* rs;
        long pos;
        Value field(int index) const override { return rs->read(pos, index); }
    } row;
    row.rs = this;
    const long n = count();
    for (long i = start; i < n; ++i) {
        row.pos = i;
        if (cond.matches(row)) return i;
    }
    return -1;
}

long Recordset::findFrom(long start, const QString& condition) {
    const Condition cond = Condition::compile(condition, fields_);
    leaving();
    const long found = start < count() ? scanFor(start, cond) : -1;
    noMatch_ = found < 0;
    if (found >= 0) moveTo(found);
    return found;
}

void Recordset::FindFirst(const QString& condition) { findFrom(0, condition); }

void Recordset::FindNext(const QString& condition) {
    long start = 0;
    if (!isBOF()) start = deleted_ ? pos_ : pos_ + 1;
    findFrom(start, condition);
}

QString Recordset::Index() const { notSupported("Index"); }
void Recordset::setIndex(const QString&) { notSupported("Index"); }
void Recordset::Seek(const QString&, const Value&) { notSupported("Seek"); }
std::shared_ptr<Recordset> Recordset::CreateSnapshot() { notSupported("CreateSnapshot"); }
void Recordset::Requery() { notSupported("Requery"); }

Value Recordset::convert(int field, const Value& v, bool smallInt) const {
    const FieldDef& def = fields_[static_cast<std::size_t>(field)];
    if (v.isNull()) return v;
    switch (def.type) {
    case FieldType::Text: return Value(v.toString());
    case FieldType::Double:
        if (v.kind() == Value::Kind::Text && v.toString().trimmed().isEmpty()) return Value();
        return Value(v.toDouble());
    case FieldType::Integer: {
        if (v.kind() == Value::Kind::Text && v.toString().trimmed().isEmpty()) return Value();
        std::int64_t x = 0;
        try {
            x = v.toInt();
        } catch (const qz::Error&) {
            throw qz::Error(qz::ErrTypeMismatch,
                            QStringLiteral("Data type conversion error: %1 takes a whole number, not \"%2\".")
                                .arg(def.name, v.toString()));
        }
        if (smallInt && (x > 32767 || x < -32768))
            throw qz::Error(qz::ErrOverflow, QStringLiteral("Overflow: %1 holds -32768 to 32767.").arg(def.name));
        return Value(x);
    }
    }
    return v;
}

Value Recordset::field(const QString& name) const {
    const int i = fieldIndex(name);
    if (editMode_ != dbEditNone) {
        const auto k = static_cast<std::size_t>(i);
        if (!loaded_[k]) {
            // An edited row's fields are read when first asked for.
            auto* self = const_cast<Recordset*>(this);
            self->buffer_[k] = read(pos_, i);
            self->loaded_[k] = true;
        }
        return buffer_[k];
    }
    if (deleted_) throw qz::Error(qz::ErrDeletedRow, QStringLiteral("Record is deleted."));
    if (pos_ < 0 || pos_ >= count()) noCurrentRow();
    return read(pos_, i);
}

void Recordset::setField(const QString& name, const Value& value) {
    const int i = fieldIndex(name);
    if (editMode_ == dbEditNone)
        throw qz::Error(qz::ErrUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const auto k = static_cast<std::size_t>(i);
    buffer_[k] = convert(i, value, isSmallInt(i));
    loaded_[k] = true;
    dirty_[k] = true;
}

void Recordset::AddNew() {
    leaving();
    if (type_ == dbOpenSnapshot) readOnlyError();
    savedPos_ = pos_;
    savedDeleted_ = deleted_;
    buffer_.assign(fields_.size(), Value());
    loaded_.assign(fields_.size(), true);
    dirty_.assign(fields_.size(), false);
    editMode_ = dbEditAdd;
    changed();
}

void Recordset::Edit() {
    if (type_ == dbOpenSnapshot) readOnlyError();
    if (editMode_ != dbEditNone) CancelUpdate();
    if (deleted_) throw qz::Error(qz::ErrDeletedRow, QStringLiteral("Record is deleted."));
    if (pos_ < 0 || pos_ >= count()) noCurrentRow();
    buffer_.assign(fields_.size(), Value());
    loaded_.assign(fields_.size(), false);
    dirty_.assign(fields_.size(), false);
    editMode_ = dbEditInProgress;
}

void Recordset::Update() {
    if (editMode_ == dbEditNone)
        throw qz::Error(qz::ErrUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (binding_) binding_->aboutToUpdate(*this);
    if (editMode_ == dbEditAdd) {
        writeInsert(buffer_);
        pos_ = savedPos_;
        deleted_ = savedDeleted_;
    } else {
        writeUpdate(pos_, buffer_, dirty_);
    }
    editMode_ = dbEditNone;
    buffer_.clear();
    changed();
}

void Recordset::CancelUpdate() {
    if (editMode_ == dbEditAdd) {
        pos_ = savedPos_;
        deleted_ = savedDeleted_;
    }
    const bool wasAdding = editMode_ == dbEditAdd;
    editMode_ = dbEditNone;
    buffer_.clear();
    if (wasAdding) changed();
}

void Recordset::Delete() {
    if (type_ == dbOpenSnapshot) readOnlyError();
    if (editMode_ != dbEditNone) CancelUpdate();
    if (deleted_) throw qz::Error(qz::ErrDeletedRow, QStringLiteral("Record is deleted."));
    if (pos_ < 0 || pos_ >= count()) noCurrentRow();
    writeDelete(pos_);
    deleted_ = true;
    changed();
}

bool Recordset::isSmallInt(int) const { return false; }

void Recordset::writeInsert(const std::vector<Value>&) { readOnlyError(); }
void Recordset::writeUpdate(long, const std::vector<Value>&, const std::vector<bool>&) { readOnlyError(); }
void Recordset::writeDelete(long) { readOnlyError(); }

void Recordset::readOnlyError() const {
    throw qz::Error(qz::ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
}

}  // namespace db
