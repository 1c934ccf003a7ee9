#include "itembank/condition.h"

#include <algorithm>
#include <array>
#include <string>
#include <cmath>
#include <string>

#include "core/error.h"

namespace db {

int findField(const FieldList& fields, const QString& name) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

namespace {

constexpr int kMaxDepth = 64;

[[noreturn]] void syntaxError(const QString& text, const QString& what) {
    throw qz::Error(qz::ErrSyntax, QStringLiteral("Syntax error in the condition \"%1\": %2.").arg(text, what));
}

// ---------------------------------------------------------------- tokens

enum class Tok { End, LParen, RParen, Op, Number, String, Word, Bracketed };

struct Token {
    Tok type = Tok::End;
    QString text;  // operator, word, field name or string contents
    double number = 0;
};

class Lexer {
public:
    Lexer(const QString& text) : s_(text) {}

    Token next() {
        while (i_ < s_.size() && s_.at(i_).isSpace()) ++i_;
        Token t;
        if (i_ >= s_.size()) return t;
        const QChar c = s_.at(i_);
        if (c == u'(') { ++i_; t.type = Tok::LParen; return t; }
        if (c == u')') { ++i_; t.type = Tok::RParen; return t; }
        if (c == u'=' ) { ++i_; t.type = Tok::Op; t.text = QStringLiteral("="); return t; }
        if (c == u'<' || c == u'>') {
            ++i_;
            t.type = Tok::Op;
            t.text = c;
            if (i_ < s_.size() && (s_.at(i_) == u'=' || (c == u'<' && s_.at(i_) == u'>'))) t.text += s_.at(i_++);
            return t;
        }
        if (c == u'\'' || c == u'"') return quoted(c);
        if (c == u'[') {
            const qsizetype close = s_.indexOf(u']', i_ + 1);
            if (close < 0) syntaxError(s_, QStringLiteral("a field name in [ ] is not closed"));
            t.type = Tok::Bracketed;
            t.text = s_.mid(i_ + 1, close - i_ - 1).trimmed();
            i_ = close + 1;
            if (t.text.isEmpty()) syntaxError(s_, QStringLiteral("empty field name"));
            return t;
        }
        if (c.isDigit() || c == u'.' || c == u'-' || c == u'+') return number();
        if (c.isLetter() || c == u'_') {
            const qsizetype start = i_;
            while (i_ < s_.size() && (s_.at(i_).isLetterOrNumber() || s_.at(i_) == u'_')) ++i_;
            t.type = Tok::Word;
            t.text = s_.mid(start, i_ - start);
            return t;
        }
        syntaxError(s_, QStringLiteral("unexpected character '%1'").arg(c));
    }

private:
    Token quoted(QChar q) {
        Token t;
        t.type = Tok::String;
        ++i_;
        while (true) {
            if (i_ >= s_.size()) syntaxError(s_, QStringLiteral("a text in quotation marks is not closed"));
            const QChar c = s_.at(i_++);
            if (c == q) {
                if (i_ < s_.size() && s_.at(i_) == q) {
                    t.text += q;
                    ++i_;
                    continue;
                }
                return t;
            }
            t.text += c;
        }
    }

    Token number() {
        const qsizetype start = i_;
        if (s_.at(i_) == u'-' || s_.at(i_) == u'+') ++i_;
        while (i_ < s_.size() && s_.at(i_).isSpace()) ++i_;
        const qsizetype digits = i_;
        while (i_ < s_.size() && (s_.at(i_).isDigit() || s_.at(i_) == u'.')) ++i_;
        if (i_ < s_.size() && (s_.at(i_) == u'e' || s_.at(i_) == u'E')) {
            qsizetype j = i_ + 1;
            if (j < s_.size() && (s_.at(j) == u'+' || s_.at(j) == u'-')) ++j;
            if (j < s_.size() && s_.at(j).isDigit()) {
                i_ = j;
                while (i_ < s_.size() && s_.at(i_).isDigit()) ++i_;
            }
        }
        QString text = s_.mid(start, i_ - start);
        text.remove(u' ');
        bool ok = false;
        const double d = text.toDouble(&ok);
        if (digits == i_ || !ok || !std::isfinite(d)) syntaxError(s_, QStringLiteral("\"%1\" is not a number").arg(text));
        if (i_ < s_.size() && (s_.at(i_).isLetter() || s_.at(i_) == u'_'))
            syntaxError(s_, QStringLiteral("a number runs into a word"));
        Token t;
        t.type = Tok::Number;
        t.number = d;
        t.text = text;
        return t;
    }

    QString s_;
    qsizetype i_ = 0;
};

bool isKeyword(const Token& t, const char* word) {
    return t.type == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------- Like patterns

struct PatternItem {
    enum Kind { Lit, Any, Digit, Star, Set } kind;
    QChar ch;
    QString set;  // pairs of range ends: "aa", "az", ...
    bool negate = false;

    bool matches(QChar c) const {
        switch (kind) {
        case Lit: return c == ch;
        case Any: return true;
        case Digit: return c.isDigit();
        case Set: {
            bool in = false;
            for (qsizetype k = 0; k + 1 < set.size(); k += 2)
                if (c >= set.at(k) && c <= set.at(k + 1)) in = true;
            return in != negate;
        }
        case Star: return false;
        }
        return false;
    }
};

// Case-folded pattern; false when the pattern is malformed.
bool compilePattern(const QString& pattern, std::vector<PatternItem>* out) {
    const QString p = pattern.toCaseFolded();
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p.at(i);
        if (c == u'*') {
            if (out->empty() || out->back().kind != PatternItem::Star) out->push_back({PatternItem::Star, {}, {}, false});
        } else if (c == u'?') {
            out->push_back({PatternItem::Any, {}, {}, false});
        } else if (c == u'#') {
            out->push_back({PatternItem::Digit, {}, {}, false});
        } else if (c == u'[') {
            const qsizetype close = p.indexOf(u']', i + 1);
            if (close < 0) return false;
            PatternItem item{PatternItem::Set, {}, {}, false};
            qsizetype k = i + 1;
            if (k < close && p.at(k) == u'!') {
                item.negate = true;
                ++k;
            }
            for (; k < close; ++k) {
                if (k + 2 < close && p.at(k + 1) == u'-') {
                    item.set += p.at(k);
                    item.set += p.at(k + 2);
                    k += 2;
                } else {
                    item.set += p.at(k);
                    item.set += p.at(k);
                }
            }
            out->push_back(item);
            i = close;
        } else {
            out->push_back({PatternItem::Lit, c, {}, false});
        }
    }
    return true;
}

// The pattern is a run of segments between stars. The first segment is
// anchored at the start unless a star leads, the last at the end unless a
// star closes; every segment between goes at its leftmost place, which can
// never lose a match. Time bounded by text x pattern, no allocation. The text
// is already case-folded.
bool matchFolded(const char16_t* text, std::size_t n, const std::vector<PatternItem>& pat) {
    const std::size_t m = pat.size();
    auto segmentAt = [&](std::size_t at, std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            if (!pat[k].matches(QChar(text[at + (k - from)]))) return false;
        return true;
    };
    std::size_t j = 0, pos = 0;
    bool anchored = true;  // no star yet: the segment must start at pos
    while (true) {
        while (j < m && pat[j].kind == PatternItem::Star) {
            anchored = false;
            ++j;
        }
        if (j == m) return anchored ? pos == n : true;
        std::size_t e = j;
        while (e < m && pat[e].kind != PatternItem::Star) ++e;
        const std::size_t len = e - j;
        const bool last = e == m;
        if (n - pos < len) return false;
        if (anchored) {
            if (!segmentAt(pos, j, e)) return false;
            pos += len;
            if (last) return pos == n;
        } else if (last) {
            return segmentAt(n - len, j, e);
        } else {
            const bool literalFirst = pat[j].kind == PatternItem::Lit;
            const char16_t first = pat[j].ch.unicode();
            std::size_t p = pos;
            for (;; ++p) {
                if (p + len > n) return false;
                if (literalFirst && text[p] != first) continue;
                if (segmentAt(p, j, e)) break;
            }
            pos = p + len;
        }
        j = e;
    }
}

bool matchPattern(const QString& textIn, const std::vector<PatternItem>& pat) {
    const QString text = textIn.toCaseFolded();
    return matchFolded(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()), pat);
}

// Decodes stored UTF-8 into case-folded UTF-16, code point by code point, as
// QString::toCaseFolded folds (simple folding per code point). False on bytes
// that are not well-formed UTF-8: the caller then takes the slow road, which
// decodes them as QString does.
// out has room for size units (never more are needed); answers the number
// written, or -1.
struct SmallFold {
    // Latin letters with their accents (U+0000 to U+024F) folded ahead.
    char16_t to[0x250];
    SmallFold() {
        for (char32_t c = 0; c < 0x250; ++c) to[c] = static_cast<char16_t>(QChar::toCaseFolded(c));
    }
};
const SmallFold kSmallFold;

long foldUtf8(const char* data, std::size_t size, char16_t* out) {
    char16_t* o = out;
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* end = p + size;
    while (p < end) {
        char32_t c = *p;
        if (c < 0x80) {
            *o++ = static_cast<char16_t>(c >= u'A' && c <= u'Z' ? c + 32 : c);
            ++p;
            continue;
        }
        int extra = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) extra = 1, c &= 0x1F, min = 0x80;
        else if ((c & 0xF0) == 0xE0) extra = 2, c &= 0x0F, min = 0x800;
        else if ((c & 0xF8) == 0xF0) extra = 3, c &= 0x07, min = 0x10000;
        else return -1;
        if (end - p <= extra) return -1;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80) return -1;
            c = (c << 6) | (p[k] & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
        p += extra + 1;
        c = c < 0x250 ? kSmallFold.to[c] : QChar::toCaseFolded(c);
        if (c >= 0x10000) {
            *o++ = QChar::highSurrogate(c);
            *o++ = QChar::lowSurrogate(c);
        } else {
            *o++ = static_cast<char16_t>(c);
        }
    }
    return o - out;
}

// A quick test before the full match. Some ASCII characters are the folding
// of ASCII letters alone (not "k": the Kelvin sign folds to it, nor "s": the
// long s); a run of such characters in the pattern must stand in the stored
// bytes as they are, but for the case of ASCII letters. Answers the longest
// such run, or nothing.
std::string likeNeedle(const std::vector<PatternItem>& pat) {
    static const std::array<bool, 128> foldedFromOthers = [] {
        std::array<bool, 128> a{};
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            const char32_t f = QChar::toCaseFolded(c);
            if (f < 128) a[f] = true;
        }
        return a;
    }();
    std::string best, run;
    for (const PatternItem& item : pat) {
        const char16_t c = item.kind == PatternItem::Lit ? item.ch.unicode() : 0;
        if (c > 0 && c < 128 && !foldedFromOthers[c] && !(c >= u'A' && c <= u'Z')) {
            run += static_cast<char>(c);
            if (run.size() > best.size()) best = run;
        } else {
            run.clear();
        }
    }
    return best;
}

bool containsAsciiNoCase(const char* data, std::size_t size, const std::string& needle) {
    const std::size_t len = needle.size();
    if (size < len) return false;
    auto lower = [](char b) { return b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b; };
    const char first = needle[0];
    for (std::size_t i = 0; i + len <= size; ++i) {
        if (lower(data[i]) != first) continue;
        std::size_t k = 1;
        while (k < len && lower(data[i + k]) == needle[k]) ++k;
        if (k == len) return true;
    }
    return false;
}

// ---------------------------------------------------------------- evaluation

enum class Tri { False, True, Unknown };

Tri tri(bool b) { return b ? Tri::True : Tri::False; }

struct Operand {
    int field = -1;  // -1: a literal
    FieldType type = FieldType::Text;
    Value literal;

    Value get(const RowAccess& row) const { return field >= 0 ? row.field(field) : literal; }
    bool numeric() const { return field >= 0 ? type != FieldType::Text : literal.isNumber(); }
};

int compareValues(const Value& a, bool aNumeric, const Value& b, bool bNumeric, bool* ok) {
    *ok = true;
    if (aNumeric || bNumeric) {
        // A number field on either side: compare as numbers when both are.
        double x = 0, y = 0;
        const bool aNum = a.isNumber() ? (x = a.toDouble(), true) : Value::parseNumber(a.toString(), &x);
        const bool bNum = b.isNumber() ? (y = b.toDouble(), true) : Value::parseNumber(b.toString(), &y);
        if (aNum && bNum) return x < y ? -1 : (x > y ? 1 : 0);
        if (aNumeric && bNumeric) {
            *ok = false;
            return 0;
        }
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

}  // namespace

struct Condition::Node {
    enum Kind { And, Or, Not, Compare, Like, IsNull } kind;
    std::shared_ptr<const Node> a, b;
    Operand lhs, rhs;
    QString op;
    bool negate = false;
    std::vector<PatternItem> pattern;  // a literal Like pattern, compiled once
    bool literalPattern = false;
    std::string needle;  // see likeNeedle

    Tri eval(const RowAccess& row) const {
        switch (kind) {
        case And: {
            const Tri x = a->eval(row);
            if (x == Tri::False) return Tri::False;
            const Tri y = b->eval(row);
            if (y == Tri::False) return Tri::False;
            return (x == Tri::True && y == Tri::True) ? Tri::True : Tri::Unknown;
        }
        case Or: {
            const Tri x = a->eval(row);
            if (x == Tri::True) return Tri::True;
            const Tri y = b->eval(row);
            if (y == Tri::True) return Tri::True;
            return (x == Tri::False && y == Tri::False) ? Tri::False : Tri::Unknown;
        }
        case Not: {
            const Tri x = a->eval(row);
            return x == Tri::Unknown ? Tri::Unknown : tri(x == Tri::False);
        }
        case IsNull: return tri(lhs.get(row).isNull() != negate);
        case Like: {
            if (literalPattern && lhs.field >= 0) {
                // The stored text as it lies, folded into a reused buffer.
                thread_local std::vector<char16_t> buffer;
                const char* data = nullptr;
                std::size_t size = 0;
                if (row.rawText(lhs.field, &data, &size)) {
                    if (!needle.empty() && !containsAsciiNoCase(data, size, needle)) return tri(negate);
                    std::vector<char16_t>& folded = buffer;
                    if (folded.size() < size) folded.resize(size);
                    const long n = foldUtf8(data, size, folded.data());
                    if (n >= 0) return tri(matchFolded(folded.data(), static_cast<std::size_t>(n), pattern) != negate);
                }
            }
            const Value v = lhs.get(row);
            if (v.isNull()) return Tri::Unknown;
            bool m = false;
            if (literalPattern) {
                m = matchPattern(v.toString(), pattern);
            } else {
                const Value p = rhs.get(row);
                if (p.isNull()) return Tri::Unknown;
                m = likeMatches(v.toString(), p.toString());
            }
            return tri(m != negate);
        }
        case Compare: {
            const Value x = lhs.get(row), y = rhs.get(row);
            if (x.isNull() || y.isNull()) return Tri::Unknown;
            bool ok = true;
            const int c = compareValues(x, lhs.numeric(), y, rhs.numeric(), &ok);
            if (!ok) return Tri::Unknown;
            if (op == QLatin1String("=")) return tri(c == 0);
            if (op == QLatin1String("<>")) return tri(c != 0);
            if (op == QLatin1String("<")) return tri(c < 0);
            if (op == QLatin1String(">")) return tri(c > 0);
            if (op == QLatin1String("<=")) return tri(c <= 0);
            return tri(c >= 0);
        }
        }
        return Tri::Unknown;
    }
};

namespace {

class Parser {
public:
    Parser(const QString& text, const FieldList& fields, std::vector<int>* used)
        : text_(text), lex_(text), fields_(fields), used_(used) {
        advance();
    }

    std::shared_ptr<const Condition::Node> parse() {
        if (tok_.type == Tok::End) syntaxError(text_, QStringLiteral("the condition is empty"));
        auto root = parseOr(0);
        if (tok_.type != Tok::End) syntaxError(text_, QStringLiteral("unexpected \"%1\"").arg(describe(tok_)));
        return root;
    }

private:
    using NodeP = std::shared_ptr<const Condition::Node>;

    void advance() { tok_ = lex_.next(); }

    static QString describe(const Token& t) {
        switch (t.type) {
        case Tok::LParen: return QStringLiteral("(");
        case Tok::RParen: return QStringLiteral(")");
        case Tok::End: return QStringLiteral("end");
        default: return t.text;
        }
    }

    void enter(int depth) {
        if (depth > kMaxDepth) syntaxError(text_, QStringLiteral("the condition is nested too deeply"));
    }

    NodeP parseOr(int depth) { return parseChain(depth, "or", Condition::Node::Or, &Parser::parseAnd); }
    NodeP parseAnd(int depth) { return parseChain(depth, "and", Condition::Node::And, &Parser::parseNot); }

    // operand { keyword operand }, joined from the left.
    NodeP parseChain(int depth, const char* keyword, Condition::Node::Kind kind, NodeP (Parser::*operand)(int)) {
        enter(depth);
        NodeP left = (this->*operand)(depth + 1);
        while (isKeyword(tok_, keyword)) {
            advance();
            auto n = std::make_shared<Condition::Node>();
            n->kind = kind;
            n->a = left;
            n->b = (this->*operand)(depth + 1);
            left = n;
        }
        return left;
    }

    NodeP parseNot(int depth) {
        enter(depth);
        if (isKeyword(tok_, "not")) {
            advance();
            auto n = std::make_shared<Condition::Node>();
            n->kind = Condition::Node::Not;
            n->a = parseNot(depth + 1);
            return n;
        }
        return parsePredicate(depth + 1);
    }

    NodeP parsePredicate(int depth) {
        enter(depth);
        if (tok_.type == Tok::LParen) {
            advance();
            NodeP inner = parseOr(depth + 1);
            if (tok_.type != Tok::RParen) syntaxError(text_, QStringLiteral("a \"(\" is not closed"));
            advance();
            return inner;
        }
        auto n = std::make_shared<Condition::Node>();
        n->lhs = operand();
        if (tok_.type == Tok::Op) {
            n->kind = Condition::Node::Compare;
            n->op = tok_.text;
            advance();
            n->rhs = operand();
            checkTypes(n->lhs, n->rhs);
            return n;
        }
        if (isKeyword(tok_, "is")) {
            advance();
            n->kind = Condition::Node::IsNull;
            if (isKeyword(tok_, "not")) {
                n->negate = true;
                advance();
            }
            if (!isKeyword(tok_, "null")) syntaxError(text_, QStringLiteral("Is must be followed by Null or Not Null"));
            advance();
            return n;
        }
        if (isKeyword(tok_, "not")) {
            n->negate = true;
            advance();
            if (!isKeyword(tok_, "like")) syntaxError(text_, QStringLiteral("Not here must be followed by Like"));
        }
        if (isKeyword(tok_, "like")) {
            advance();
            n->kind = Condition::Node::Like;
            n->rhs = operand();
            if (n->rhs.field < 0) {
                n->literalPattern = true;
                if (!compilePattern(n->rhs.literal.toString(), &n->pattern))
                    syntaxError(text_, QStringLiteral("the pattern has a \"[\" without \"]\""));
                n->needle = likeNeedle(n->pattern);
            }
            return n;
        }
        syntaxError(text_, tok_.type == Tok::End ? QStringLiteral("a comparison is missing")
                                                 : QStringLiteral("unexpected \"%1\"").arg(describe(tok_)));
    }

    Operand operand() {
        Operand o;
        switch (tok_.type) {
        case Tok::Number: o.literal = Value(tok_.number); break;
        case Tok::String: o.literal = Value(tok_.text); break;
        case Tok::Word:
            if (isKeyword(tok_, "null")) {
                o.literal = Value();
                break;
            }
            for (const char* k : {"and", "or", "not", "like", "is"})
                if (isKeyword(tok_, k)) syntaxError(text_, QStringLiteral("\"%1\" where a value belongs").arg(tok_.text));
            [[fallthrough]];
        case Tok::Bracketed: {
            const int f = findField(fields_, tok_.text);
            if (f < 0)
                throw qz::Error(qz::ErrTooFewParameters,
                                QStringLiteral("\"%1\" is not a field; put a text in quotation marks.").arg(tok_.text));
            o.field = f;
            o.type = fields_[static_cast<std::size_t>(f)].type;
            if (std::find(used_->begin(), used_->end(), f) == used_->end()) used_->push_back(f);
            break;
        }
        default: syntaxError(text_, QStringLiteral("a value is missing before \"%1\"").arg(describe(tok_)));
        }
        // A whole-number literal stays a whole number.
        if (o.field < 0 && o.literal.kind() == Value::Kind::Double) {
            const double d = o.literal.toDouble();
            if (d == std::floor(d) && std::abs(d) < 9e15) o.literal = Value(static_cast<std::int64_t>(d));
        }
        advance();
        return o;
    }

    // A number field compared with a text that is not a number cannot match.
    void checkTypes(const Operand& a, const Operand& b) {
        auto check = [&](const Operand& f, const Operand& lit) {
            if (f.field >= 0 && f.type != FieldType::Text && lit.field < 0 && lit.literal.kind() == Value::Kind::Text &&
                !Value::parseNumber(lit.literal.toString(), nullptr))
                throw qz::Error(qz::ErrCondTypeMismatch,
                                QStringLiteral("Data type mismatch: %1 is a number field and \"%2\" is not a number.")
                                    .arg(fields_[static_cast<std::size_t>(f.field)].name, lit.literal.toString()));
        };
        check(a, b);
        check(b, a);
    }

    QString text_;
    Lexer lex_;
    const FieldList& fields_;
    std::vector<int>* used_;
    Token tok_;
};

}  // namespace

Condition Condition::compile(const QString& text, const FieldList& fields) {
    Condition c;
    Parser p(text, fields, &c.used_);
    c.root_ = p.parse();
    return c;
}

bool Condition::matches(const RowAccess& row) const { return root_ && root_->eval(row) == Tri::True; }

bool likeMatches(const QString& text, const QString& pattern) {
    std::vector<PatternItem> items;
    if (!compilePattern(pattern, &items)) return false;
    return matchPattern(text, items);
}

}  // namespace db
