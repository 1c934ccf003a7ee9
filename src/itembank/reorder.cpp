#include "itembank/reorder.h"

#include <cstdint>

#include "core/error.h"

namespace itembank {

int reorderDraw(float fraction) { return static_cast<int>(fraction * 3000.0f) + 1; }

std::optional<int> reorderRetryValue(int drawn, int refused, int attempt) {
    // Always the same direction for one row: towards the middle of the range.
    const int next = drawn < 1500 ? refused + 1 : refused - 1;
    if (attempt + 1 >= kReorderRetries || next < 1 || next > 3000) return std::nullopt;
    return next;
}

ReorderOutcome reorderItems(db::Database& database, db::Recordset& rs, const std::function<float()>& random) {
    ReorderOutcome out;
    long stored = 0;
    try {
        // All rows or none: the file is taken for writing before the first
        // row, and anything that stops the run rolls every row back.
        db::Transaction tx(database, db::Transaction::Write);
        // The rows as they are in the file now, whatever the view showed
        // before (it may have missed a change, or failed to read).
        rs.Requery();
        if (rs.RecordCount() > 0) rs.MoveFirst();
        while (!rs.isEOF()) {
            const int drawn = reorderDraw(random());
            int value = drawn;
            for (int attempt = 0;; ++attempt) {
                try {
                    rs.Edit();
                    rs.Fields(QStringLiteral("sorrend2")) = value;
                    rs.Update();
                    ++stored;
                    break;
                } catch (const qz::Error& e) {
                    rs.CancelUpdate();
                    // Only a value the bank refuses as such (its order index
                    // kept unique) can be helped by another value.
                    const std::optional<int> next =
                        e.number() == qz::ErrDuplicateKey ? reorderRetryValue(drawn, value, attempt) : std::nullopt;
                    if (!next) throw;
                    value = *next;
                }
            }
            rs.MoveNext();
        }
        tx.commit();
        out.complete = true;
        out.rowsStored = stored;
    } catch (const qz::Error& e) {
        out.errorNumber = e.number();
        out.error = e.message();
        out.rowsStored = 0;  // rolled back
    }
    return out;
}

}  // namespace itembank
