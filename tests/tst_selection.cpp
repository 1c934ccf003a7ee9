// The selection rules: topic, level and starting-point criteria, the random
// draw, and the editor's topic line.

#include <QTest>
#include <set>

#include "bankfixture.h"
#include "core/error.h"
#include "itembank/selection.h"

using bankfixture::item;
using bankfixture::TempBank;

namespace {

QList<int> serials(db::Recordset& rs) {
    QList<int> out;
    if (rs.RecordCount() == 0) return out;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) out << int(rs.field(QStringLiteral("sorszam")).toInt());
    return out;
}

// A generator that hands out the given fractions in turn.
std::function<float()> fractions(std::vector<float> values) {
    auto state = std::make_shared<std::pair<std::vector<float>, std::size_t>>(std::move(values), 0);
    return [state] {
        const float v = state->first[state->second % state->first.size()];
        ++state->second;
        return v;
    };
}

}  // namespace

class TestSelection : public QObject {
    Q_OBJECT

private slots:
    void tables_shape();
    void topics_selectTheirItemsInOrder();
    void levels_allLevelsMeansOneAndUp();
    void startingPoint_strictThresholdsForwardOnly();
    void randomDraw_repeatsUntilFound();
    void randomDraw_failsWhenItCannotSucceed();
    void topicLine_pairToPosition();
};

void TestSelection::tables_shape() {
    int offered = 0;
    for (const auto& s : itembank::kStartPoints) {
        offered += s.offered;
        QCOMPARE(s.practiceCriterion != nullptr, s.offered);
    }
    QCOMPARE(offered, 7);
    // Every criterion of the tables parses against test1.
    TempBank bank;
    auto database = bank.open();
    for (const auto& t : itembank::kTopics) itembank::selectItems(*database, QString::fromUtf8(t.criterion));
    for (const auto& l : itembank::kLevels) itembank::selectItems(*database, QString::fromUtf8(l.criterion));
    for (const auto& s : itembank::kStartPoints) itembank::selectItems(*database, QString::fromUtf8(s.testCriterion));
}

void TestSelection::topics_selectTheirItemsInOrder() {
    TempBank bank;
    auto database = bank.open();
    // Position 0: every item with main key 1, whatever its sub-key, by sorrend2.
    auto verbs = itembank::selectItems(*database, QString::fromUtf8(itembank::kTopics[0].criterion));
    QCOMPARE(serials(*verbs), (QList<int>{3, 6, 1, 2, 9}));
    // Position 1: only its own sub-key.
    auto tenses = itembank::selectItems(*database, QString::fromUtf8(itembank::kTopics[1].criterion));
    QCOMPARE(serials(*tenses), (QList<int>{6, 2}));
    // Position 16 (quantity, main key 5) takes any sub-key.
    auto quantity = itembank::selectItems(*database, QString::fromUtf8(itembank::kTopics[16].criterion));
    QCOMPARE(serials(*quantity), (QList<int>{7}));
    // An empty topic gives an empty selection; its first item is an error.
    auto empty = itembank::selectItems(*database, QString::fromUtf8(itembank::kTopics[18].criterion));
    QCOMPARE(empty->RecordCount(), 0L);
    QVERIFY_THROWS_EXCEPTION(qz::Error, empty->MoveFirst());
    // The mistakes shortcut keeps table order.
    auto whole = database->CreateSnapshot(QStringLiteral("Test1"));
    whole->setFilter(QString::fromUtf8(itembank::kMistakesCriterion));
    auto mistakes = whole->CreateSnapshot();
    QCOMPARE(serials(*mistakes), (QList<int>{7}));
}

void TestSelection::levels_allLevelsMeansOneAndUp() {
    auto items = bankfixture::smallBank();
    items.push_back(item(11, "1", "0", 4, 50));
    items.push_back(item(12, "1", "0", 0, 60));
    TempBank bank(items);
    auto database = bank.open();
    auto all = itembank::selectItems(*database, QString::fromUtf8(itembank::kAllLevels));
    const QList<int> got = serials(*all);
    QVERIFY(got.contains(11));
    QVERIFY(!got.contains(12));
    QCOMPARE(got.size(), 11);
    auto three = itembank::selectItems(*database, QString::fromUtf8(itembank::kLevels[2].criterion));
    QCOMPARE(serials(*three), (QList<int>{3, 8}));
}

void TestSelection::startingPoint_strictThresholdsForwardOnly() {
    TempBank bank;
    auto database = bank.open();
    auto sel = itembank::selectItems(*database, QString::fromUtf8(itembank::kAllLevels));
    sel->MoveFirst();  // sorrend2 1 (item 10)
    // "sorrend2 > 430": 430 is not beyond it, 431 is.
    sel->FindNext(QString::fromUtf8(itembank::kStartPoints[1].practiceCriterion));
    QVERIFY(!sel->NoMatch());
    QCOMPARE(sel->field(QStringLiteral("sorrend2")).toInt(), 431);
    // Already beyond "sorrend2 > 0": moves on by one item only.
    sel->FindNext(QString::fromUtf8(itembank::kStartPoints[0].practiceCriterion));
    QCOMPARE(sel->field(QStringLiteral("sorrend2")).toInt(), 860);
    // No item above a high threshold in a small selection: nothing found, the
    // item stays.
    auto tenses = itembank::selectItems(*database, QString::fromUtf8(itembank::kTopics[1].criterion));
    tenses->MoveFirst();
    tenses->FindNext(QString::fromUtf8(itembank::kStartPoints[6].practiceCriterion));
    QVERIFY(tenses->NoMatch());
    QCOMPARE(tenses->field(QStringLiteral("sorszam")).toInt(), 6);
}

void TestSelection::randomDraw_repeatsUntilFound() {
    // Serial numbers with gaps: 2, 5, 9.
    TempBank bank({item(2, "1", "0", 1, 1), item(5, "1", "0", 1, 2), item(9, "1", "0", 1, 3)});
    auto database = bank.open();
    auto t = database->OpenTable(QStringLiteral("test1"));
    t->setIndex(QStringLiteral("sorszam"));
    std::int16_t max = 0;
    // 0.0 -> 1 (missing), 0.3 -> 3 (missing), 0.5 -> 5 (there)
    itembank::drawItem(*t, max, fractions({0.0f, 0.3f, 0.5f}));
    QCOMPARE(max, std::int16_t(9));
    QCOMPARE(t->field(QStringLiteral("sorszam")).toInt(), 5);
    // Every key from 1 to max can come: 0.99 -> 9.
    itembank::drawItem(*t, max, fractions({0.99f}));
    QCOMPARE(t->field(QStringLiteral("sorszam")).toInt(), 9);
    // max is read once: an item added above it is never drawn.
    auto d = database->OpenDynaset(QStringLiteral("test1"));
    d->AddNew();
    d->Fields(QStringLiteral("sorszam")) = 20;
    d->Update();
    auto t2 = database->OpenTable(QStringLiteral("test1"));
    t2->setIndex(QStringLiteral("sorszam"));
    auto sweep = fractions({0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 0.999f});
    for (int i = 0; i < 50; ++i) {
        itembank::drawItem(*t2, max, sweep);
        QVERIFY(t2->field(QStringLiteral("sorszam")).toInt() <= 9);
    }
}

void TestSelection::randomDraw_failsWhenItCannotSucceed() {
    {
        TempBank bank(std::vector<itembank::Item>{});
        auto t = bank.open()->OpenTable(QStringLiteral("test1"));
        t->setIndex(QStringLiteral("sorszam"));
        std::int16_t max = 0;
        QVERIFY_THROWS_EXCEPTION(qz::Error, itembank::drawItem(*t, max, fractions({0.5f})));
    }
    {
        TempBank bank({item(40000, "1", "0", 1, 1)});
        auto t = bank.open()->OpenTable(QStringLiteral("test1"));
        t->setIndex(QStringLiteral("sorszam"));
        std::int16_t max = 0;
        try {
            itembank::drawItem(*t, max, fractions({0.5f}));
            QFAIL("a serial number above 16 bits cannot be drawn");
        } catch (const qz::Error& e) {
            QCOMPARE(e.number(), int(qz::ErrOverflow));
        }
    }
    {
        // max read earlier, every item at or below it gone since.
        TempBank bank({item(50, "1", "0", 1, 1)});
        auto t = bank.open()->OpenTable(QStringLiteral("test1"));
        t->setIndex(QStringLiteral("sorszam"));
        std::int16_t max = 3;
        QVERIFY_THROWS_EXCEPTION(qz::Error, itembank::drawItem(*t, max, fractions({0.1f, 0.5f, 0.9f})));
    }
}

void TestSelection::topicLine_pairToPosition() {
    QCOMPARE(itembank::topicOfPair(QStringLiteral("5"), QStringLiteral("z")), 16);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("1"), QStringLiteral("k")), -1);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("1"), QStringLiteral("0")), 0);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("1"), QStringLiteral("a")), 1);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("2"), QStringLiteral("a")), 11);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("a"), QStringLiteral("2")), 18);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("a"), QStringLiteral("9")), -1);
    QCOMPARE(itembank::topicOfPair(QString(), QStringLiteral("0")), -1);
    QCOMPARE(itembank::topicOfPair(QStringLiteral("1"), QString()), -1);
    // Every editor pair names its own position back.
    for (int p = 0; p < 22; ++p) {
        const auto& t = itembank::kTopics[static_cast<std::size_t>(p)];
        QCOMPARE(itembank::topicOfPair(QString::fromUtf8(t.kulcs1), QString::fromUtf8(t.kulcs2 ? t.kulcs2 : "0")), p);
    }
}

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
