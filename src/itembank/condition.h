#pragma once
// The condition language of Filter, FindFirst and FindNext: a condition
// without the word WHERE, as the windows write it ("kulcs1 = '1' And
// kulcs2 = 'a'", "sorrend2 > 430") and as the user types it in the editor's
// search box ("sorszam = 1", "mondat Like \"*ház*\"").
//
//   condition  := or
//   or         := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | predicate
//   predicate  := "(" condition ")"
//               | operand ( compare operand | [NOT] LIKE operand
//                         | IS [NOT] NULL )
//   compare    := = | <> | < | > | <= | >=
//   operand    := field | [field] | number | 'text' | "text"
//
// Keywords and field names are matched without regard to case; a doubled
// quote inside a string stands for one. Text compares without regard to case;
// a number field compares numerically. Like knows * (any run), ? (any one
// character), # (one digit) and [list] / [!list] of characters.
//
// The text is parsed by this parser and evaluated here, row by row: no part of
// it ever reaches SQL, so nothing typed can reach another table or change data.

#include <QString>
#include <memory>
#include <vector>

#include "itembank/value.h"

namespace db {

enum class FieldType { Integer, Double, Text };

struct FieldDef {
    QString name;
    FieldType type;
};
using FieldList = std::vector<FieldDef>;

// The index of a field by name, without regard to case; -1 when none.
int findField(const FieldList& fields, const QString& name);

// One row as the evaluator sees it.
class RowAccess {
public:
    virtual ~RowAccess() = default;
    virtual Value field(int index) const = 0;
    // A text field's stored UTF-8 bytes, read in place without making a Value
    // (Like reads them so); false when the row cannot give them that way or
    // the field holds no text, and the evaluator reads field() instead.
    virtual bool rawText(int index, const char** data, std::size_t* size) const {
        (void)index, (void)data, (void)size;
        return false;
    }
};

class Condition {
public:
    // Parses the text against the fields of a table. Throws qz::Error: an
    // empty or malformed text (syntax error), a bare word that names no field
    // (too few parameters), a number field compared with a text that is not a
    // number (type mismatch).
    static Condition compile(const QString& text, const FieldList& fields);

    bool matches(const RowAccess& row) const;
    // The fields the condition reads.
    const std::vector<int>& fieldsUsed() const { return used_; }

    struct Node;

private:
    std::shared_ptr<const Node> root_;
    std::vector<int> used_;
};

// Like matching on its own (pattern syntax as above); false for a malformed
// pattern.
bool likeMatches(const QString& text, const QString& pattern);

}  // namespace db
