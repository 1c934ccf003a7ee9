#include "itembank/selection.h"

#include <cmath>

#include "core/error.h"

namespace itembank {

const std::array<Topic, 22> kTopics{{
    {"kulcs1 = '1'", "1", "0"},
    {"kulcs1 = '1' And kulcs2 = 'a'", "1", "a"},
    {"kulcs1 = '1' And kulcs2 = 'b'", "1", "b"},
    {"kulcs1 = '1' And kulcs2 = 'c'", "1", "c"},
    {"kulcs1 = '1' And kulcs2 = 'd'", "1", "d"},
    {"kulcs1 = '1' And kulcs2 = 'e'", "1", "e"},
    {"kulcs1 = '1' And kulcs2 = 'f'", "1", "f"},
    {"kulcs1 = '1' And kulcs2 = 'g'", "1", "g"},
    {"kulcs1 = '1' And kulcs2 = 'h'", "1", "h"},
    {"kulcs1 = '1' And kulcs2 = 'i'", "1", "i"},
    {"kulcs1 = '1' And kulcs2 = 'j'", "1", "j"},
    {"kulcs1 = '2'", "2", nullptr},
    {"kulcs1 = '3'", "3", nullptr},
    {"kulcs1 = '4'", "4", nullptr},
    {"kulcs1 = '7'", "7", nullptr},
    {"kulcs1 = '8'", "8", nullptr},
    {"kulcs1 = '5'", "5", nullptr},
    {"kulcs1 = '6'", "6", nullptr},
    {"kulcs1 = 'a' And kulcs2 = '2'", "a", "2"},
    {"kulcs1 = '9'", "9", nullptr},
    {"kulcs1 = 'a' And kulcs2 = '3'", "a", "3"},
    {"kulcs1 = 'a' And kulcs2 = '1'", "a", "1"},
}};

const std::array<Level, 4> kLevels{{
    {"&1", "Szint = 1", "1"},
    {"&2", "Szint = 2", "2"},
    {"&3", "Szint = 3", "3"},
    {"&1-3", "szint >= 1", "1-3"},
}};

const std::array<StartPoint, 11> kStartPoints{{
    {"&1", "&1", "sorrend2 > 0", "sorrend2 > 0", true},
    {"51", "&51", "sorrend2 > 430", "sorrend2 > 430", true},
    {"1&01", "&101", "sorrend2 > 860", "sorrend2 > 860", true},
    {"151", "&151", "sorrend2 > 1290", "sorrend2 > 1290", true},
    {"&201", "&201", "sorrend2 > 1720", "sorrend2 > 1720", true},
    {"251", "&251", "sorrend2 > 2150", "sorrend2 > 2150", true},
    {"&301", "&301", "sorrend2 > 2580", "sorrend2 > 2580", true},
    {"351", "&351", nullptr, "sorrend2 > 1750", false},
    {"&401", "&401", nullptr, "sorrend2 > 2000", false},
    {"451", "&451", nullptr, "sorrend2 > 2250", false},
    {"&501", "&501", nullptr, "sorrend2 > 2500", false},
}};

std::shared_ptr<db::Recordset> selectItems(db::Database& db, const QString& criterion) {
    auto whole = db.CreateSnapshot(QStringLiteral("Test1"));
    whole->setSort(QStringLiteral("sorrend2"));
    auto ordered = whole->CreateSnapshot();
    ordered->setFilter(criterion);
    return ordered->CreateSnapshot();
}

void drawItem(db::Recordset& table, std::int16_t& maxSorszam, const std::function<float()>& random) {
    if (maxSorszam == 0) {
        table.MoveLast();  // an empty table fails here
        const std::int64_t highest = table.field(QStringLiteral("sorszam")).toInt();
        if (highest > 32767)
            throw qz::Error(qz::ErrOverflow,
                            QStringLiteral("Overflow: the highest serial number %1 is above 32767.").arg(highest));
        if (highest < 1)
            throw qz::Error(qz::ErrNoCurrentRow, QStringLiteral("No item has a serial number from 1 up."));
        maxSorszam = static_cast<std::int16_t>(highest);
    }
    // Every so many misses, make sure a hit is still possible at all.
    constexpr int kCheckEvery = 1000;
    for (long tries = 1;; ++tries) {
        const float r = random();
        const int key = static_cast<int>(std::floor(static_cast<float>(maxSorszam) * r + 1.0f));
        table.Seek(QStringLiteral("="), db::Value(key));
        if (!table.NoMatch()) return;
        if (tries % kCheckEvery == 0) {
            table.Seek(QStringLiteral(">="), db::Value(1));
            if (table.NoMatch() || table.field(QStringLiteral("sorszam")).toInt() > maxSorszam)
                throw qz::Error(qz::ErrNoCurrentRow,
                                QStringLiteral("No item has a serial number from 1 to %1.").arg(maxSorszam));
        }
    }
}

int topicOfPair(const QString& kulcs1, const QString& kulcs2) {
    if (kulcs1.isEmpty()) return -1;
    for (std::size_t i = 0; i < kTopics.size(); ++i) {
        const Topic& t = kTopics[i];
        if (kulcs1 != QString::fromUtf8(t.kulcs1)) continue;
        if (t.kulcs2 && (kulcs2.isEmpty() || kulcs2 != QString::fromUtf8(t.kulcs2))) continue;
        return static_cast<int>(i);
    }
    return -1;
}

}  // namespace itembank
