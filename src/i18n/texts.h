#pragma once
// Looking up interface texts. A caption or message is named by its offset k in
// a language block; the text shown is the entry with identifier k + the base of
// the working language (16 English, 116 Hungarian, 216 Spanish, 316 French).

#include <QString>
#include <stdexcept>

namespace i18n {

constexpr int kEnglish = 16;
constexpr int kHungarian = 116;
constexpr int kSpanish = 216;
constexpr int kFrench = 316;

// Asking for an identifier the table does not have is a programming error.
class MissingText : public std::logic_error {
public:
    explicit MissingText(int id);
    int id() const { return id_; }

private:
    int id_;
};

// The text with a fixed identifier; throws MissingText when there is none.
QString text_id(int id);
// The text at offset k of the block that starts at base (k + base as an int).
QString text(int k, int base);
// Whether the table has an entry with this identifier.
bool hasText(int id);

}  // namespace i18n
