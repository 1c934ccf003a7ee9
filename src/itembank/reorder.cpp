#include "itembank/reorder.h"

#include <cstdint>

#include "core/error.h"

namespace itembank {

ReorderOutcome reorderItems(db::Database& database, db::Recordset& rs, const std::function<float()>& random) {
    ReorderOutcome out;
    bool stopped = false;
    auto stop = [&](const qz::Error& e) {
        stopped = true;
        out.errorNumber = e.number();
        out.error = e.message();
    };
    try {
        // One transaction for every row; the rows stored before a failure are kept.
        db::Transaction tx(database);
        if (rs.RecordCount() > 0) rs.MoveFirst();
        long stored = 0;
        while (!rs.isEOF() && !stopped) {
            const auto drawn = static_cast<std::int16_t>(static_cast<int>(random() * 3000.0f) + 1);
            auto value = drawn;
            for (int attempt = 0;; ++attempt) {
                try {
                    rs.Edit();
                    rs.Fields(QStringLiteral("sorrend2")) = int(value);
                    rs.Update();
                    ++stored;
                    break;
                } catch (const qz::Error& e) {
                    rs.CancelUpdate();
                    // Another value cannot help a bank that cannot be written.
                    const bool hopeless = e.number() == qz::ErrReadOnly || e.number() == qz::ErrLocked;
                    value = static_cast<std::int16_t>(drawn < 1500 ? value + 1 : value - 1);
                    if (hopeless || attempt + 1 >= kReorderRetries || value < 1 || value > 3000) {
                        stop(e);
                        break;
                    }
                }
            }
            if (!stopped) rs.MoveNext();
        }
        tx.commit();
        out.rowsStored = stored;
    } catch (const qz::Error& e) {
        stop(e);
    }
    out.complete = !stopped;
    return out;
}

}  // namespace itembank
