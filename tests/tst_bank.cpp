// The default item bank, checked as any bank is checked; and the checks
// themselves, on a bank with every kind of fault.

#include <QTest>

#include "bankfixture.h"
#include "itembank/selection.h"
#include "itembank/validate.h"

class TestBank : public QObject {
    Q_OBJECT

private slots:
    void defaultBank_isWhole();
    void checks_findEveryKindOfFault();
};

void TestBank::defaultBank_isWhole() {
    bankfixture::TempBank bank(itembank::defaultItems());
    auto database = bank.open();
    const itembank::BankReport r = itembank::validateBank(*database);
    QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.join(QLatin1Char('\n'))));

    QCOMPARE(r.items, 550);
    QCOMPARE(r.lowestSerial, 1);
    QCOMPARE(r.highestSerial, 550);
    QVERIFY(r.serialsWithoutGaps);

    for (int p = 0; p < 22; ++p) {
        QVERIFY2(r.perTopic[static_cast<std::size_t>(p)] >= 12, qPrintable(QStringLiteral("topic %1").arg(p)));
        QVERIFY2(r.levelsPerTopic[static_cast<std::size_t>(p)].size() >= 2,
                 qPrintable(QStringLiteral("topic %1 has one level").arg(p)));
    }
    QVERIFY(r.perTopic[0] >= 25 && r.perTopic[0] <= 35);  // general verb items

    // Levels are judged item by item, not shared out by quota; each level
    // still holds at least 15 % of the bank, enough for practice at that level.
    for (int level = 1; level <= 3; ++level) {
        const auto found = r.perLevel.find(level);
        QVERIFY2(found != r.perLevel.end() && found->second * 100 >= r.items * 15,
                 qPrintable(QStringLiteral("level %1").arg(level)));
    }

    for (const char* letter : {"A", "B", "C", "D"})
        QVERIFY(std::abs(r.perRightLetter.at(QString::fromLatin1(letter)) - r.items / 4) <= r.items / 20);
    QVERIFY(r.mistakesSet >= 15 && r.mistakesSet <= 25);

    // Every practice topic finds its items.
    for (const auto& t : itembank::kTopics)
        QVERIFY(itembank::selectItems(*database, QString::fromUtf8(t.criterion))->RecordCount() >= 12);
}

void TestBank::checks_findEveryKindOfFault() {
    using bankfixture::item;
    auto good = [](int n) { return item(n, "1", "a", 1, 100); };
    std::vector<itembank::Item> items;
    auto add = [&](itembank::Item it) { items.push_back(std::move(it)); };
    add(good(1));
    auto twoGaps = good(2);
    twoGaps.mondat = QStringLiteral("_____ és _____.");
    add(twoGaps);
    auto sameFillers = good(3);
    sameFillers.b = sameFillers.a;
    add(sameFillers);
    auto badLetter = good(4);
    badLetter.felelet2 = QStringLiteral("E");
    add(badLetter);
    auto badSolution = good(5);
    badSolution.felelet1 = QStringLiteral("Valami más.");
    add(badSolution);
    auto noTopic = good(6);
    noTopic.kulcs2 = QStringLiteral("k");
    add(noTopic);
    auto badLevel = good(7);
    badLevel.szint = 4;
    add(badLevel);
    auto badOrder = good(8);
    badOrder.sorrend2 = 3001;
    add(badOrder);
    auto duplicate = good(10);
    duplicate.mondat = good(1).mondat;
    add(duplicate);  // also leaves a gap at 9
    auto oldLetters = good(11);
    oldLetters.mondat = QStringLiteral("Egy õsi _____.");
    add(oldLetters);
    auto emptyFiller = good(12);
    emptyFiller.d = QString();
    add(emptyFiller);
    // Nearly the same sentence twice, with the words in other forms; and a
    // pair that only shares a frame of everyday words, which is allowed.
    auto warmCoat = good(13);
    warmCoat.mondat = QStringLiteral("Hideg van, vedd fel a meleg kabátodat és a _____!");
    add(warmCoat);
    auto warmCoatAgain = good(14);
    warmCoatAgain.mondat = QStringLiteral("Hideg van kint, vedd fel a meleg kabátot és a _____!");
    add(warmCoatAgain);
    auto sameFrame = good(15);
    sameFrame.mondat = QStringLiteral("Hideg van kint, ezért a _____ nem megyünk a parkba.");
    add(sameFrame);

    // The solution must hold the sentence with the right filler put in.
    for (auto& it : items) {
        if (it.sorszam == 5) continue;
        QString filled = it.mondat;
        filled.replace(QStringLiteral("_____"), it.a);
        it.felelet1 = filled + QStringLiteral(" – note");
    }

    bankfixture::TempBank bank(items);
    auto database = bank.open();
    const itembank::BankReport r = itembank::validateBank(*database);
    const QString all = r.problems.join(QLatin1Char('\n'));
    for (const char* expected :
         {"item 2: the sentence has not exactly one gap", "item 3: two fillers are the same",
          "item 4: the right letter is not A, B, C or D", "item 5: the solution does not contain the filled sentence",
          "item 6: the key pair \"1\", \"k\" names no topic", "item 7: the level is not 1, 2 or 3",
          "item 8: the order key is not a whole number from 1 to 3000", "item 10: the sentence is there twice",
          "item 11: the text has õ or û", "item 12: a filler is empty",
          "item 13: nearly the same sentence as item 14"})
        QVERIFY2(all.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected) + "\n---\n" + all));
    QVERIFY(!all.contains(QStringLiteral("item 1:")));
    QVERIFY(!all.contains(QStringLiteral("item 15")));
    QVERIFY(!r.serialsWithoutGaps);
}

QTEST_GUILESS_MAIN(TestBank)
#include "tst_bank.moc"
