#pragma once
// The re-randomisation of the order of every item: each row of test1 gets a
// new order key sorrend2, drawn from 1 to 3000.

#include <QString>
#include <functional>

#include "itembank/database.h"

namespace itembank {

// How many times a refused store of one row's key is retried, each time with
// the key moved by one towards the middle of the range.
constexpr int kReorderRetries = 10;

struct ReorderOutcome {
    bool complete = false;  // every row has its new key, and it is stored
    long rowsStored = 0;    // rows whose new key is in the file
    int errorNumber = 0;    // the engine's error that stopped it, if any
    QString error;
};

// Walks rs (a dynaset of test1) from its first row, drawing a key per row
// with random() (a fraction in [0, 1), freshly seeded). Runs in one
// transaction of rs's database. A bank that cannot be written stops at once.
ReorderOutcome reorderItems(db::Database& database, db::Recordset& rs, const std::function<float()>& random);

}  // namespace itembank
