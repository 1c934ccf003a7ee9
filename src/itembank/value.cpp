#include "itembank/value.h"

#include <cmath>

#include "core/error.h"

namespace db {

QString Value::toString() const {
    switch (kind()) {
    case Kind::Null: return QString();
    case Kind::Int: return QString::number(std::get<std::int64_t>(v_));
    case Kind::Double: return QString::number(std::get<double>(v_), 'g', 15);
    case Kind::Text: return std::get<QString>(v_);
    }
    return QString();
}

bool Value::parseNumber(const QString& text, double* out) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return false;
    if (out) *out = d;
    return true;
}

double Value::toDouble() const {
    switch (kind()) {
    case Kind::Int: return double(std::get<std::int64_t>(v_));
    case Kind::Double: return std::get<double>(v_);
    case Kind::Text: {
        double d = 0;
        if (parseNumber(std::get<QString>(v_), &d)) return d;
        throw qz::Error(qz::ErrTypeMismatch, QStringLiteral("Type mismatch: \"%1\" is not a number.").arg(std::get<QString>(v_)));
    }
    case Kind::Null: break;
    }
    throw qz::Error(qz::ErrTypeMismatch, QStringLiteral("Type mismatch: the value is empty (Null)."));
}

std::int64_t Value::toInt() const {
    if (kind() == Kind::Int) return std::get<std::int64_t>(v_);
    const double d = toDouble();
    if (d > 9.2e18 || d < -9.2e18) throw qz::Error(qz::ErrOverflow, QStringLiteral("Overflow."));
    // Halves go to the even neighbour, as the program's integer conversion does.
    return static_cast<std::int64_t>(std::nearbyint(d));
}

}  // namespace db
