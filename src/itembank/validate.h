#pragma once
// Checks of an item bank's content, for the default bank and for any bank a
// teacher has edited: the form of every field, the gap, the fillers, the
// solution, duplicate and near-duplicate sentences, and the shape of the whole
// (serial numbers, topics, levels, the mistakes set).

#include <QString>
#include <QStringList>
#include <array>
#include <map>

#include "itembank/database.h"

namespace itembank {

struct BankReport {
    // One line per fault found, naming the item by its serial number.
    QStringList problems;
    int items = 0;
    int lowestSerial = 0;
    int highestSerial = 0;
    bool serialsWithoutGaps = false;  // exactly lowest..highest, each once
    std::array<int, 22> perTopic{};   // items filed with the editor pair of each position
    std::array<std::map<int, int>, 22> levelsPerTopic{};
    std::map<int, int> perLevel;      // szint -> items
    std::map<QString, int> perRightLetter;
    int mistakesSet = 0;              // kulcs2 "9" under main keys 2 to 9
};

// Reads test1 of the bank and checks every item.
BankReport validateBank(db::Database& bank);

// The gap the sentences carry.
constexpr const char* kGap = "_____";

}  // namespace itembank
