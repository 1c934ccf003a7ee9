#include "i18n/texts.h"

#include <algorithm>

#include "i18n/texttable_data.h"

namespace i18n {

MissingText::MissingText(int id)
    : std::logic_error("no interface text with identifier " + std::to_string(id)), id_(id) {}

namespace {

const TextEntry* find(int id) {
    const TextEntry* begin = kTextTable;
    const TextEntry* end = kTextTable + kTextTableSize;
    // The table is in ascending identifier order.
    const TextEntry* it = std::lower_bound(begin, end, id, [](const TextEntry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

}  // namespace

QString text_id(int id) {
    const TextEntry* e = find(id);
    if (!e) throw MissingText(id);
    return QString::fromUtf8(e->text);
}

QString text(int k, int base) { return text_id(k + base); }

bool hasText(int id) { return find(id) != nullptr; }

}  // namespace i18n
