#include "databind/fieldmap.h"

#include "itembank/recordset.h"

namespace tk {

FieldMap& FieldMap::add(Label& label, const QString& field) {
    entries_.push_back({&label, field});
    return *this;
}

FieldMap& FieldMap::add(TextBox& box, const QString& field) {
    entries_.push_back({&box, field});
    return *this;
}

void FieldMap::fill(db::Recordset& rs, const QString& prefix) const {
    // Read every field first, so that a failing read changes nothing.
    std::vector<QString> texts;
    texts.reserve(entries_.size());
    for (const Entry& e : entries_) texts.push_back(prefix + rs.field(e.field).toString());
    for (std::size_t i = 0; i < entries_.size(); ++i) show(entries_[i], texts[i]);
}

void FieldMap::clear() const {
    for (const Entry& e : entries_) show(e, QString());
}

void FieldMap::show(const Entry& e, const QString& text) const {
    if (auto* box = dynamic_cast<TextBox*>(e.control)) {
        box->showValue(text);
        return;
    }
    auto* label = static_cast<Label*>(e.control);
    if (label->UseMnemonic()) label->setUseMnemonic(false);
    label->setCaption(text);
}

}  // namespace tk
