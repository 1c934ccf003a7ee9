#pragma once
// The item-bank file: its schema, its creation with the default items, and
// the checks that refuse a file that is not an item bank of this program.
//
//   test1  one row per item: sorszam (serial number, unique index "sorszam"),
//          mondat, a, b, c, d, felelet1, felelet2, kulcs1, kulcs2, szint, and
//          sorrend2 (16-bit order key, index "sorrend", not unique)
//   hiba1  the failed items of past tests: hiba, mondat, a, b, c, d,
//          felelet1, felelet2; its first row is a placeholder

#include <QString>
#include <vector>

namespace db {
class Connection;
}

namespace itembank {

// Marks the file as an item bank of this program (SQLite's application id).
constexpr int kApplicationId = 0x515A4D42;
constexpr int kSchemaVersion = 1;

struct Item {
    int sorszam = 0;
    int szint = 0;
    QString kulcs1, kulcs2;
    int sorrend2 = 0;
    QString felelet2, mondat, a, b, c, d, felelet1;
};

// The items of a bank source text: tab-separated, a header row naming the
// columns (sorszam, szint, kulcs1, kulcs2, sorrend2, felelet2, mondat, a, b,
// c, d, felelet1, in any order). Throws qz::Error for a malformed text.
std::vector<Item> parseItems(const QString& tsv);
// The default item bank compiled into the program.
std::vector<Item> defaultItems();

// Creates an item bank at path (which must not exist yet) with the schema,
// the placeholder row of hiba1 and the given items. The file appears whole or
// not at all.
void createItemBank(const QString& path, const std::vector<Item>& items);
// Adds the items to test1 of an open bank, inside the caller's transaction.
void insertItems(db::Connection& conn, const std::vector<Item>& items);

// Refuses, without writing to it, a file that cannot be an item bank: empty,
// not a database, an Access database (ErrNotDatabase); a folder, a pipe, a
// device or a link to nothing (ErrNotRegularFile), without waiting on it.
// A missing file is ErrFileNotFound.
void checkFile(const QString& path);
// Refuses an open database that is not an item bank of this schema: another
// program's database, a missing table, field or index (the unique index
// "sorszam" and the index "sorrend" of test1), or anything beyond the two
// tables and their plain indexes (a trigger, a view, a virtual table).
void checkSchema(db::Connection& conn);
// The same without the application-id check (after it).
void checkSchemaObjects(db::Connection& conn);
// A quick check of every page of the file: a damaged bank is refused
// (ErrDamaged) when it is opened rather than found out by a later write.
void checkIntegrity(db::Connection& conn);

}  // namespace itembank
