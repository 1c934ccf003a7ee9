// libFuzzer target for the condition parser and evaluator: any input must be
// either refused with the engine's error or evaluated, without crashing,
// hanging or reading out of bounds.

#include <cstddef>
#include <cstdint>

#include "itembank/condition.h"
#include "core/error.h"

namespace {

const db::FieldList kFields{
    {"sorszam", db::FieldType::Integer}, {"mondat", db::FieldType::Text},   {"a", db::FieldType::Text},
    {"b", db::FieldType::Text},          {"c", db::FieldType::Text},        {"d", db::FieldType::Text},
    {"felelet1", db::FieldType::Text},   {"felelet2", db::FieldType::Text}, {"kulcs1", db::FieldType::Text},
    {"kulcs2", db::FieldType::Text},     {"szint", db::FieldType::Integer}, {"sorrend2", db::FieldType::Integer},
};

struct Row : db::RowAccess {
    std::vector<db::Value> values;
    db::Value field(int index) const override { return values[static_cast<std::size_t>(index)]; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Row full, empty;
    full.values = {12, "A kutya _____ a kertben.", "ugat", "ugatnak", "ugatott", "ugass", "A kutya ugat.", "A",
                   "1", "a", 2, 431};
    empty.values.assign(kFields.size(), db::Value());
    try {
        const db::Condition c = db::Condition::compile(text, kFields);
        c.matches(full);
        c.matches(empty);
    } catch (const qz::Error&) {
        // refused: that is an acceptable answer
    }
    const qsizetype split = text.indexOf(QLatin1Char('\n'));
    if (split >= 0) db::likeMatches(text.left(split), text.mid(split + 1));
    return 0;
}
