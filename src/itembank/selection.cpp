#include "selection.h"

#include <cmath>

#include "error.h"

namespace itembank {

const std::array<Topic, 22> kTopics{{
    {42, "kulcs1 = '1'", "1", "0", nullptr, nullptr},
    {43, "kulcs1 = '1' And kulcs2 = 'a'", "1", "a", "Ige_Időhasználat", "Ige_Időhasználat"},
    {44, "kulcs1 = '1' And kulcs2 = 'b'", "1", "b", nullptr, nullptr},
    {45, "kulcs1 = '1' And kulcs2 = 'c'", "1", "c", nullptr, nullptr},
    {46, "kulcs1 = '1' And kulcs2 = 'd'", "1", "d", nullptr, nullptr},
    {64, "kulcs1 = '1' And kulcs2 = 'e'", "1", "e", "&Főnév", "Főnév"},
    {90, "kulcs1 = '1' And kulcs2 = 'f'", "1", "f", nullptr, nullptr},
    {92, "kulcs1 = '1' And kulcs2 = 'g'", "1", "g", nullptr, nullptr},
    {91, "kulcs1 = '1' And kulcs2 = 'h'", "1", "h", "Függő beszéd", "Függő beszéd"},
    {47, "kulcs1 = '1' And kulcs2 = 'i'", "1", "i", "Igekötők", "Igekötők"},
    {48, "kulcs1 = '1' And kulcs2 = 'j'", "1", "j", nullptr, nullptr},
    {50, "kulcs1 = '2'", "2", nullptr, nullptr, nullptr},
    {51, "kulcs1 = '3'", "3", nullptr, nullptr, nullptr},
    {52, "kulcs1 = '4'", "4", nullptr, nullptr, nullptr},
    {55, "kulcs1 = '7'", "7", nullptr, nullptr, nullptr},
    {56, "kulcs1 = '8'", "8", nullptr, nullptr, nullptr},
    {53, "kulcs1 = '5'", "5", nullptr, nullptr, nullptr},
    {54, "kulcs1 = '6'", "6", nullptr, nullptr, nullptr},
    {57, "kulcs1 = 'a' And kulcs2 = '2'", "a", "2", nullptr, nullptr},
    {58, "kulcs1 = '9'", "9", nullptr, nullptr, nullptr},
    {49, "kulcs1 = 'a' And kulcs2 = '3'", "a", "3", nullptr, nullptr},
    {59, "kulcs1 = 'a' And kulcs2 = '1'", "a", "1", nullptr, nullptr},
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
