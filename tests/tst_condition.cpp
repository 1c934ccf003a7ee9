// The condition language: every form, its semantics, its errors, and a corpus
// of hostile conditions that must never reach SQL or change the item bank.

#include <QFile>
#include <QTest>
#include <functional>
#include <random>

#include "bankfixture.h"
#include "itembank/condition.h"
#include "core/error.h"

using db::Condition;
using db::FieldType;
using db::Value;

namespace {

const db::FieldList kFields{{"sorszam", FieldType::Integer}, {"mondat", FieldType::Text},
                            {"kulcs1", FieldType::Text},     {"szint", FieldType::Integer},
                            {"felelet2", FieldType::Text},   {"a", FieldType::Text}};

struct Row : db::RowAccess {
    std::vector<Value> values;
    Value field(int index) const override { return values[static_cast<std::size_t>(index)]; }
};

Row row(Value sorszam, Value mondat, Value kulcs1, Value szint, Value felelet2 = Value("B"), Value a = Value("ház")) {
    Row r;
    r.values = {sorszam, mondat, kulcs1, szint, felelet2, a};
    return r;
}

bool matches(const QString& text, const Row& r) { return Condition::compile(text, kFields).matches(r); }

int errorOf(const QString& text) {
    try {
        Condition::compile(text, kFields);
    } catch (const qz::Error& e) {
        return e.number();
    }
    return 0;
}

// A row that also hands out its texts as stored UTF-8, as the engine's
// scans do.
struct StoredRow : Row {
    std::vector<QByteArray> utf8;
    bool rawText(int index, const char** data, std::size_t* size) const override {
        const auto i = static_cast<std::size_t>(index);
        if (values[i].kind() != Value::Kind::Text) return false;
        *data = utf8[i].constData();
        *size = static_cast<std::size_t>(utf8[i].size());
        return true;
    }
};

// The plainest reading of a Like pattern, for comparison: one character
// class per position, tried every way.
bool referenceLike(const QString& text, const QString& pattern) {
    const QString t = text.toCaseFolded(), p = pattern.toCaseFolded();
    std::function<bool(qsizetype, qsizetype)> at = [&](qsizetype i, qsizetype j) -> bool {
        if (j == p.size()) return i == t.size();
        const QChar c = p.at(j);
        if (c == u'*') return at(i, j + 1) || (i < t.size() && at(i + 1, j));
        if (i == t.size()) return false;
        if (c == u'?') return at(i + 1, j + 1);
        if (c == u'#') return t.at(i).isDigit() && at(i + 1, j + 1);
        if (c == u'[') {
            const qsizetype close = p.indexOf(u']', j + 1);
            qsizetype k = j + 1;
            bool negate = false, in = false;
            if (k < close && p.at(k) == u'!') negate = true, ++k;
            for (; k < close; ++k) {
                if (k + 2 < close && p.at(k + 1) == u'-') {
                    in = in || (t.at(i) >= p.at(k) && t.at(i) <= p.at(k + 2));
                    k += 2;
                } else {
                    in = in || t.at(i) == p.at(k);
                }
            }
            return in != negate && at(i + 1, close + 1);
        }
        return t.at(i) == c && at(i + 1, j + 1);
    };
    return at(0, 0);
}

}  // namespace

class TestCondition : public QObject {
    Q_OBJECT

private slots:
    void comparisons_data();
    void comparisons();
    void like_data();
    void like();
    void errors_data();
    void errors();
    void hostileCorpus_neverTouchesTheBank();
    void like_storedTextAgreesWithEveryReading();
};

void TestCondition::comparisons_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<bool>("expected");
    // The row: sorszam 12, mondat "A kutya _____ a kertben.", kulcs1 "a", szint 2.
    QTest::newRow("number =") << "sorszam = 12" << true;
    QTest::newRow("number <>") << "sorszam <> 12" << false;
    QTest::newRow("number <") << "sorszam < 12.5" << true;
    QTest::newRow("number >") << "sorszam > 2" << true;  // numeric, not text order
    QTest::newRow("number <=") << "sorszam <= 12" << true;
    QTest::newRow("number >=") << "sorszam >= 13" << false;
    QTest::newRow("negative") << "sorszam > -1" << true;
    QTest::newRow("literal first") << "2 < sorszam" << true;
    QTest::newRow("numeric text") << "sorszam = '12'" << true;
    QTest::newRow("single quotes") << "kulcs1 = 'a'" << true;
    QTest::newRow("double quotes") << "kulcs1 = \"a\"" << true;
    QTest::newRow("case of text") << "kulcs1 = 'A'" << true;
    QTest::newRow("case of keywords and fields") << "KULCS1 = 'a' and SZINT = 2" << true;
    QTest::newRow("brackets") << "[kulcs1] = 'a' AND [Szint] = 2" << true;
    QTest::newRow("doubled quote") << "mondat = 'It''s'" << false;
    QTest::newRow("text order") << "mondat > 'A' And mondat < 'B'" << true;
    QTest::newRow("and") << "kulcs1 = '1' And kulcs1 = 'a'" << false;
    QTest::newRow("or") << "kulcs1 = '1' Or szint = 2" << true;
    QTest::newRow("not") << "Not kulcs1 = '1'" << true;
    QTest::newRow("precedence") << "kulcs1 = 'a' Or sorszam = 1 And szint = 9" << true;
    QTest::newRow("parentheses") << "(kulcs1 = 'a' Or sorszam = 1) And szint = 9" << false;
    QTest::newRow("is null") << "felelet2 Is Null" << true;
    QTest::newRow("is not null") << "mondat Is Not Null" << true;
    QTest::newRow("null compares unknown") << "felelet2 = 'B' Or felelet2 <> 'B'" << false;
    QTest::newRow("not of unknown") << "Not felelet2 = 'B'" << false;
    QTest::newRow("text field, number") << "kulcs1 = 1" << false;
    QTest::newRow("field to field") << "sorszam > szint" << true;
    QTest::newRow("hungarian letters") << "a = 'HÁZ'" << true;
}

void TestCondition::comparisons() {
    QFETCH(QString, condition);
    QFETCH(bool, expected);
    const Row r = row(12, QStringLiteral("A kutya _____ a kertben."), QStringLiteral("a"), 2, Value());
    QCOMPARE(matches(condition, r), expected);
}

void TestCondition::like_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("star") << "*kert*" << "A kutya a kertben." << true;
    QTest::newRow("star at end only") << "kert*" << "A kertben" << false;
    QTest::newRow("question") << "h?z" << "ház" << true;
    QTest::newRow("question needs one") << "h?z" << "hz" << false;
    QTest::newRow("digit") << "Mondat ##" << "Mondat 42" << true;
    QTest::newRow("digit not letter") << "Mondat #" << "Mondat x" << false;
    QTest::newRow("set") << "[abc]*" << "beteg" << true;
    QTest::newRow("negated set") << "[!abc]*" << "beteg" << false;
    QTest::newRow("range") << "[a-f]x" << "ex" << true;
    QTest::newRow("literal star") << "5[*]3" << "5*3" << true;
    QTest::newRow("case") << "*KERT*" << "a kertben" << true;
    QTest::newRow("accented case") << "ŐSZ*" << "ősz van" << true;
    QTest::newRow("many stars") << "*a*b*c*d*e*" << "xxaxxbxxcxxdxxe" << true;
    QTest::newRow("empty pattern") << "" << "" << true;
}

void TestCondition::like() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(db::likeMatches(text, pattern), expected);
    QString quoted = pattern;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    const Row r = row(1, text, QStringLiteral("1"), 1);
    QCOMPARE(matches(QStringLiteral("mondat Like \"%1\"").arg(quoted), r), expected);
    QCOMPARE(matches(QStringLiteral("mondat Not Like \"%1\"").arg(quoted), r), !expected);
    // A long pattern against a long text finishes at once.
    QVERIFY(!db::likeMatches(QString(5000, u'a'), QString(200, u'*') + QStringLiteral("b")));
}

void TestCondition::errors_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("error");
    QTest::newRow("empty") << "" << int(qz::ErrSyntax);
    QTest::newRow("blank") << "   " << int(qz::ErrSyntax);
    QTest::newRow("bare word") << "mondat = alma" << int(qz::ErrTooFewParameters);
    QTest::newRow("unknown field") << "nincs = 1" << int(qz::ErrTooFewParameters);
    QTest::newRow("number field, text") << "szint = 'kettő'" << int(qz::ErrCondTypeMismatch);
    QTest::newRow("number field, text, reversed") << "'x' < sorszam" << int(qz::ErrCondTypeMismatch);
    QTest::newRow("open string") << "mondat = 'alma" << int(qz::ErrSyntax);
    QTest::newRow("open paren") << "(sorszam = 1" << int(qz::ErrSyntax);
    QTest::newRow("extra paren") << "sorszam = 1)" << int(qz::ErrSyntax);
    QTest::newRow("no comparison") << "sorszam" << int(qz::ErrSyntax);
    QTest::newRow("dangling and") << "sorszam = 1 And" << int(qz::ErrSyntax);
    QTest::newRow("semicolon") << "sorszam = 1; DROP TABLE test1" << int(qz::ErrSyntax);
    QTest::newRow("bad pattern") << "mondat Like '[ab'" << int(qz::ErrSyntax);
    QTest::newRow("is what") << "mondat Is 5" << int(qz::ErrSyntax);
    QTest::newRow("too deep") << QString(200, u'(') + QStringLiteral("sorszam = 1") + QString(200, u')')
                              << int(qz::ErrSyntax);
    QTest::newRow("number runs into word") << "sorszam = 1abc" << int(qz::ErrSyntax);
}

void TestCondition::errors() {
    QFETCH(QString, condition);
    QFETCH(int, error);
    QCOMPARE(errorOf(condition), error);
}

void TestCondition::hostileCorpus_neverTouchesTheBank() {
    QFile f(QFINDTESTDATA("corpus/hostile.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    bankfixture::TempBank bank;
    auto database = bank.open();
    auto rs = database->OpenDynaset(QStringLiteral("test1"));
    auto snap = database->CreateSnapshot(QStringLiteral("test1"));
    int tried = 0;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#')) || line.isEmpty()) continue;
        ++tried;
        for (int step = 0; step < 3; ++step) {
            try {
                if (step == 0) rs->FindFirst(line);
                else if (step == 1) rs->FindNext(line);
                else {
                    snap->setFilter(line);
                    snap->CreateSnapshot();
                }
            } catch (const qz::Error& e) {
                QVERIFY2(e.number() == qz::ErrSyntax || e.number() == qz::ErrTooFewParameters ||
                             e.number() == qz::ErrCondTypeMismatch,
                         qPrintable(line + QStringLiteral(" -> ") + e.message()));
            }
        }
    }
    QVERIFY(tried > 40);
    // Nothing changed: every row and the placeholder row are still there.
    auto check = bank.open();
    QCOMPARE(check->OpenTable(QStringLiteral("test1"))->RecordCount(), 10L);
    QCOMPARE(check->OpenTable(QStringLiteral("hiba1"))->RecordCount(), 1L);
    QCOMPARE(check->OpenDynaset(QStringLiteral("test1"))->field(QStringLiteral("mondat")).toString(),
             QStringLiteral("Mondat 1 _____."));
}

QTEST_GUILESS_MAIN(TestCondition)
void TestCondition::like_storedTextAgreesWithEveryReading() {
    // Hungarian letters in both cases, a letter whose folding differs from
    // its lower case, a character outside the basic plane, digits, blanks.
    const QStringList pieces{QStringLiteral("a"), QStringLiteral("Á"), QStringLiteral("á"), QStringLiteral("ő"),
                             QStringLiteral("Ő"), QStringLiteral("ű"), QStringLiteral("ß"), QStringLiteral("ſ"),
                             QStringLiteral("K"), QStringLiteral("k"), QStringLiteral("\u212A"),
                             QStringLiteral("1"), QStringLiteral(" "), QString::fromUtf8("\xF0\x9F\x98\x80")};
    const QStringList patternPieces{QStringLiteral("*"), QStringLiteral("?"), QStringLiteral("#"),
                                    QStringLiteral("[a-c]"), QStringLiteral("[!á]"), QStringLiteral("Á"),
                                    QStringLiteral("a"), QStringLiteral("ő"), QStringLiteral("k"),
                                    QStringLiteral("ss"), QStringLiteral("ß"), QStringLiteral(" ")};
    std::mt19937 rng(2024);
    int agreed = 0;
    for (int round = 0; round < 4000; ++round) {
        QString text, pattern;
        for (int n = int(rng() % 9); n > 0; --n) text += pieces[int(rng() % pieces.size())];
        for (int n = 1 + int(rng() % 5); n > 0; --n) pattern += patternPieces[int(rng() % patternPieces.size())];
        const bool expected = referenceLike(text, pattern);
        QCOMPARE(db::likeMatches(text, pattern), expected);
        QString quoted = pattern;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        const Condition cond = Condition::compile(QStringLiteral("mondat Like \"%1\"").arg(quoted), kFields);
        StoredRow stored;
        stored.values = row(1, text, "a", 1).values;
        for (const Value& v : stored.values) stored.utf8.push_back(v.toString().toUtf8());
        QCOMPARE(cond.matches(stored), expected);
        Row plain;
        plain.values = stored.values;
        QCOMPARE(cond.matches(plain), expected);
        agreed += expected;
    }
    QVERIFY(agreed > 100);  // the draw is not all misses

    // Bytes that are not well-formed UTF-8 are read as the text would be.
    StoredRow broken;
    broken.values = row(1, QString::fromUtf8("h\xC3z"), "a", 1).values;
    for (const Value& v : broken.values) broken.utf8.push_back(v.toString().toUtf8());
    broken.utf8[1] = QByteArray("h\xC3z");
    const Condition cond = Condition::compile(QStringLiteral("mondat Like 'h?z'"), kFields);
    Row plain;
    plain.values = broken.values;
    QCOMPARE(cond.matches(broken), cond.matches(plain));
}

#include "tst_condition.moc"
