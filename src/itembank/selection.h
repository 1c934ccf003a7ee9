#pragma once
// Which items an activity presents, and in which order: by topic (the key pair
// kulcs1, kulcs2), by level (szint), from a starting point on the order key
// (sorrend2), or drawn at random by serial number (sorszam). The rules are
// small tables of conditions; the practice window, the test window and the
// editor all read them from here.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "itembank/database.h"

namespace itembank {

// One of the 22 topic positions, in menu order.
// Its menu texts are in the interface texts (i18n::kTopicCaptions), position
// by position.
struct Topic {
    const char* criterion;         // practice selection
    const char* kulcs1;            // what the editor writes
    const char* kulcs2;            // nullptr: the editor leaves kulcs2 as it is
};
extern const std::array<Topic, 22> kTopics;

struct Level {
    const char* caption;    // menu item
    const char* criterion;  // selection
    const char* label;      // level label
};
extern const std::array<Level, 4> kLevels;

// The first selection of the practice window: every level.
constexpr const char* kAllLevels = "szint >= 1";

struct StartPoint {
    const char* practiceCaption;
    const char* testCaption;
    const char* practiceCriterion;  // nullptr: not a practice starting point
    const char* testCriterion;
    bool offered;                   // shown and enabled in the menus
};
extern const std::array<StartPoint, 11> kStartPoints;

// The condition of the items kept as the most common learner mistakes.
constexpr const char* kMistakesCriterion = "kulcs2 = '9'";

// A selection from one criterion: a snapshot of the whole table ordered by
// sorrend2 and restricted by the criterion. It may be empty; the caller moves
// to its first item.
std::shared_ptr<db::Recordset> selectItems(db::Database& db, const QString& criterion);

// A random draw by serial number on a table handle with the index "sorszam":
// reads maxSorszam on the first draw (when it is 0) and keeps it; draws keys
// from 1 to maxSorszam until one exists, and stands on that row. A draw that
// can never succeed fails with an error: an empty table, a highest serial
// number outside 1 to 32767, no item left between 1 and maxSorszam.
// random() yields a fraction in [0, 1), freshly seeded.
void drawItem(db::Recordset& table, std::int16_t& maxSorszam, const std::function<float()>& random);

// The topic position whose editor pair names this item's key pair, or -1.
int topicOfPair(const QString& kulcs1, const QString& kulcs2);

}  // namespace itembank
