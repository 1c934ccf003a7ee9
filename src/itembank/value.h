#pragma once
// A field value: Null, a whole number, a floating-point number or a text.

#include <QString>
#include <cstdint>
#include <variant>

namespace db {

class Value {
public:
    enum class Kind { Null, Int, Double, Text };

    Value() = default;
    Value(int v) : v_(std::int64_t(v)) {}            // NOLINT: implicit on purpose
    Value(std::int64_t v) : v_(v) {}                // NOLINT
    Value(double v) : v_(v) {}                      // NOLINT
    Value(const QString& v) : v_(v) {}              // NOLINT
    Value(const char* v) : v_(QString::fromUtf8(v)) {}  // NOLINT

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumber() const { return kind() == Kind::Int || kind() == Kind::Double; }

    // The value as shown in a label or text box: Null shows as "", numbers in
    // plain decimal digits.
    QString toString() const;
    // The value as a whole number: numbers are rounded, numeric text is
    // converted; Null and other text are a type-mismatch error.
    std::int64_t toInt() const;
    // The value as a number, with the same rules.
    double toDouble() const;
    // Whether a text holds a number (leading and trailing blanks allowed).
    static bool parseNumber(const QString& text, double* out);

    friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

private:
    std::variant<std::monostate, std::int64_t, double, QString> v_;
};

}  // namespace db
