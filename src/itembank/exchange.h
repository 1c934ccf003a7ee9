#pragma once
// The item bank as a table a spreadsheet opens: export of every item to a
// tab-separated UTF-8 file in the form of the default bank's source, import
// of such a file (also as a spreadsheet saves it back) in place of the bank's
// items, and the check of a bank from the command line. The failed items
// (hiba1) are never read or written here.

#include <QString>
#include <QStringList>
#include <vector>

#include "itembank/itembank.h"

namespace itembank {

// The columns of an exported file, in their order.
QStringList exchangeColumns();

// One row of a file read for import: the item and the line it starts on.
struct ImportRow {
    int line = 0;
    Item item;
};

// What reading a file for import found: the rows, and one message per fault
// ("line 7, felelet2: ..."), in line order. Rows are only usable when
// problems is empty.
struct ImportReading {
    std::vector<ImportRow> rows;
    QStringList problems;
};

// The items in the tab-separated form: a header row, then one line per item
// in the given order, each line ended by "\n", UTF-8 without a byte-order
// mark. A field holding a tab, a line break or a leading quotation mark is
// quoted as spreadsheets do ("" for a quotation mark inside).
QByteArray formatItems(const std::vector<Item>& items);

// Reads a file's bytes as a spreadsheet may have saved them: UTF-8 with or
// without a byte-order mark (or UTF-16 with one), any line ending, quoted
// fields, the columns in any order. Checks every row: the form of each field
// (whole numbers, one-letter keys), serial numbers used once, and the
// content checks every bank passes (validateBank), each fault named by line
// and field.
ImportReading readImport(const QByteArray& bytes);

// The items of a bank's test1, by serial number. Throws qz::Error.
std::vector<Item> readBankItems(const QString& bankPath);

// Writes every item of the bank to tsvPath (whole or not at all). Answers
// the number of items. Throws qz::Error naming the file that failed.
int exportBank(const QString& bankPath, const QString& tsvPath);

// Replaces the bank's items with the rows, in one transaction, after keeping
// a copy of the bank as it was at bankPath + ".bak". Nothing changes when
// the bank cannot be written, is in use, or the copy cannot be made. Throws
// qz::Error.
void replaceItems(const QString& bankPath, const std::vector<ImportRow>& rows);

// The check of a bank for the command line: the content checks of
// validateBank and serial numbers used once. Never creates the file; throws
// qz::Error when it is missing or cannot be read as an item bank.
struct BankCheck {
    int items = 0;
    QStringList problems;  // one line per problem, naming the item's serial number
};
BankCheck checkBank(const QString& bankPath);

}  // namespace itembank
