#include "itembank/validate.h"

#include <QSet>
#include <algorithm>
#include <vector>

#include "itembank/selection.h"

namespace itembank {

namespace {

// Two sentences are near-duplicates when at least this share of their words
// is common to both (common words over all words of the two), counting only
// pairs that share at least kNearDuplicateWords words, so that two very short
// sentences are not matched on one or two words. In the default bank the
// sentences that repeat each other reach 0.7 and more; sentences that only
// share an everyday frame ("Hol van ...? Nem találom.") while testing other
// points stay below 0.6.
constexpr double kNearDuplicateShare = 0.6;
constexpr int kNearDuplicateWords = 3;

// The words of a sentence for the near-duplicate check, each cut to its first
// five letters: endings follow the stem, so kabátot and kabátodat both count
// as kabát. Articles and the commonest particles are left out; nearly every
// sentence has them.
std::vector<QString> wordStems(const QString& sentence) {
    static const QStringList common{QStringLiteral("a"), QStringLiteral("az"), QStringLiteral("egy"),
                                    QStringLiteral("és"), QStringLiteral("is")};
    std::vector<QString> stems;
    QString word;
    auto take = [&] {
        if (!word.isEmpty() && !common.contains(word)) stems.push_back(word.left(5));
        word.clear();
    };
    for (const QChar ch : sentence.toLower()) {
        if (ch.isLetter()) word += ch;
        else take();
    }
    take();
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    return stems;
}

struct Completed {
    int serial;
    std::vector<QString> stems;
};

void reportNearDuplicates(std::vector<Completed> items, QStringList& problems) {
    std::sort(items.begin(), items.end(), [](const Completed& x, const Completed& y) { return x.serial < y.serial; });
    for (std::size_t i = 0; i < items.size(); ++i) {
        for (std::size_t j = i + 1; j < items.size(); ++j) {
            const auto& x = items[i].stems;
            const auto& y = items[j].stems;
            int common = 0;  // both lists are sorted: count the words they share
            for (auto p = x.begin(), q = y.begin(); p != x.end() && q != y.end();) {
                if (*p < *q) ++p;
                else if (*q < *p) ++q;
                else ++common, ++p, ++q;
            }
            const auto all = static_cast<int>(x.size() + y.size()) - common;
            if (common >= kNearDuplicateWords && common >= kNearDuplicateShare * all)
                problems << QStringLiteral("item %1: nearly the same sentence as item %2")
                                .arg(items[i].serial)
                                .arg(items[j].serial);
        }
    }
}

}  // namespace

BankReport validateBank(db::Database& bank) {
    BankReport report;
    auto rs = bank.CreateSnapshot(QStringLiteral("test1"));
    const QString gap = QString::fromLatin1(kGap);
    std::vector<int> serials;
    QSet<QString> sentences;
    std::vector<Completed> completed;  // the sentences with the right filler put in

    for (; !rs->isEOF(); rs->MoveNext()) {
        ++report.items;
        auto text = [&](const char* name) { return rs->field(QString::fromLatin1(name)).toString(); };
        const db::Value serialValue = rs->field(QStringLiteral("sorszam"));
        const QString who = QStringLiteral("item %1").arg(serialValue.toString());
        auto fault = [&](const QString& what) { report.problems << who + QStringLiteral(": ") + what; };

        if (serialValue.kind() != db::Value::Kind::Int) fault(QStringLiteral("the serial number is not a whole number"));
        else serials.push_back(static_cast<int>(serialValue.toInt()));

        const db::Value level = rs->field(QStringLiteral("szint"));
        const int szint = level.kind() == db::Value::Kind::Int ? static_cast<int>(level.toInt()) : 0;
        if (szint < 1 || szint > 3) fault(QStringLiteral("the level is not 1, 2 or 3"));
        else ++report.perLevel[szint];

        const db::Value order = rs->field(QStringLiteral("sorrend2"));
        if (order.kind() != db::Value::Kind::Int || order.toInt() < 1 || order.toInt() > 3000)
            fault(QStringLiteral("the order key is not a whole number from 1 to 3000"));

        const QString k1 = text("kulcs1"), k2 = text("kulcs2");
        if (k1.size() != 1 || k2.size() != 1) fault(QStringLiteral("a topic key is not one character"));
        const int topic = topicOfPair(k1, k2);
        if (topic < 0) {
            fault(QStringLiteral("the key pair \"%1\", \"%2\" names no topic").arg(k1, k2));
        } else {
            ++report.perTopic[static_cast<std::size_t>(topic)];
            if (szint >= 1 && szint <= 3) ++report.levelsPerTopic[static_cast<std::size_t>(topic)][szint];
        }
        if (k2 == QLatin1String("9") && k1 >= QLatin1String("2") && k1 <= QLatin1String("9")) ++report.mistakesSet;

        const QString mondat = text("mondat");
        if (mondat.count(gap) != 1) fault(QStringLiteral("the sentence has not exactly one gap"));
        if (mondat.contains(QStringLiteral("______"))) fault(QStringLiteral("the gap is longer than five underscores"));
        if (sentences.contains(mondat)) fault(QStringLiteral("the sentence is there twice"));
        sentences.insert(mondat);

        const QStringList fillers{text("a"), text("b"), text("c"), text("d")};
        for (const QString& f : fillers)
            if (f.trimmed().isEmpty()) fault(QStringLiteral("a filler is empty"));
        if (QSet<QString>(fillers.begin(), fillers.end()).size() != 4) fault(QStringLiteral("two fillers are the same"));

        const QString right = text("felelet2");
        const int letter = QStringLiteral("ABCD").indexOf(right);
        QString filled = mondat;
        if (right.size() != 1 || letter < 0) {
            fault(QStringLiteral("the right letter is not A, B, C or D"));
        } else {
            ++report.perRightLetter[right];
            filled.replace(gap, fillers[letter]);
            if (!text("felelet1").contains(filled)) fault(QStringLiteral("the solution does not contain the filled sentence"));
        }
        if (serialValue.kind() == db::Value::Kind::Int)
            completed.push_back({static_cast<int>(serialValue.toInt()), wordStems(filled)});
        if (text("felelet1").trimmed().isEmpty()) fault(QStringLiteral("the solution is empty"));
        for (const QString& t : {mondat, text("felelet1")})
            if (t.contains(QChar(0x00F5)) || t.contains(QChar(0x00FB)))
                fault(QStringLiteral("the text has õ or û where ő or ű belongs"));
    }

    reportNearDuplicates(std::move(completed), report.problems);

    std::sort(serials.begin(), serials.end());
    if (!serials.empty()) {
        report.lowestSerial = serials.front();
        report.highestSerial = serials.back();
        report.serialsWithoutGaps = serials.back() - serials.front() + 1 == static_cast<int>(serials.size()) &&
                                    std::adjacent_find(serials.begin(), serials.end()) == serials.end();
    }
    return report;
}

}  // namespace itembank
