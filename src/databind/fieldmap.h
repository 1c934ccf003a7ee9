#pragma once
// One mapping of a window's controls to the fields of an item, filled from
// the current row of any record set (a snapshot, a table handle, a dynaset):
//
//   items.add(Label13, "mondat").add(Label1, "a") ... ;
//   items.fill(*Sel);      // every mapped control shows the current row
//
// Item texts are shown exactly as stored: an "&" in a sentence is an
// ampersand, never an access key.

#include <QString>
#include <vector>

#include "toolkit/controls.h"

namespace db {
class Recordset;
}

namespace tk {

class FieldMap {
public:
    FieldMap& add(Label& label, const QString& field);
    FieldMap& add(TextBox& box, const QString& field);

    // Shows the current row's fields, each after the prefix. Without a
    // current row the engine's error is thrown and no control changes.
    void fill(db::Recordset& rs, const QString& prefix = QString()) const;
    // Empties every mapped control.
    void clear() const;

private:
    struct Entry {
        Control* control;
        QString field;
    };
    void show(const Entry& e, const QString& text) const;
    std::vector<Entry> entries_;
};

}  // namespace tk
