#pragma once
// The re-randomisation of the order of every item: each row of test1 gets a
// new order key sorrend2, drawn from 1 to 3000.

#include <QString>
#include <functional>
#include <optional>

#include "itembank/database.h"

namespace itembank {

// How many times a refused store of one row's key is retried, each time with
// the key moved by one towards the middle of the range.
constexpr int kReorderRetries = 10;

struct ReorderOutcome {
    bool complete = false;  // every row has its new key, and it is stored
    long rowsStored = 0;    // rows whose new key is in the file (all or none)
    int errorNumber = 0;    // the engine's error that stopped it, if any
    QString error;          // the engine's own text of it
};

// The key drawn for a fraction in [0, 1): 1 to 3000.
int reorderDraw(float fraction);
// The value to store after `refused` was refused on attempt `attempt` (0 for
// the drawn value itself), one step towards the middle of the range from the
// row's drawn value; nothing once the retries are spent or the range is left.
std::optional<int> reorderRetryValue(int drawn, int refused, int attempt);

// Reads rs (a dynaset of test1) again and walks it from its first row,
// drawing a key per row with random() (a fraction in [0, 1), freshly
// seeded). A store the bank refuses for its value (a unique order index) is
// retried with reorderRetryValue. Runs in one write transaction of rs's
// database: every row gets its key, or, when anything stops the run (the
// bank read-only, in use, full, damaged), the transaction is rolled back and
// no row is changed.
ReorderOutcome reorderItems(db::Database& database, db::Recordset& rs, const std::function<float()>& random);

}  // namespace itembank
