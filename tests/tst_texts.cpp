// The interface text table and its lookup.

#include <QTest>

#include "app/qz_test.h"
#include "i18n/texts.h"

class TestTexts : public QObject {
    Q_OBJECT

private slots:
    void blocks_haveTheSameUsedOffsets();
    void lookup_followsTheWorkingLanguage();
    void fixedIdentifiers();
    void missingIdentifiers_throw();
    void texts_useTheHungarianLetters();
};

namespace {

const int kBases[] = {i18n::kEnglish, i18n::kHungarian, i18n::kSpanish, i18n::kFrench};

bool used(int offset) { return (offset >= 0 && offset <= 16) || (offset >= 25 && offset <= 68) || (offset >= 74 && offset <= 92); }

}  // namespace

void TestTexts::blocks_haveTheSameUsedOffsets() {
    for (int base : kBases) {
        int count = 0;
        for (int k = 0; k < 100; ++k) {
            QCOMPARE(i18n::hasText(base + k), used(k));
            if (used(k)) {
                ++count;
                QVERIFY2(!i18n::text(k, base).isEmpty(), qPrintable(QStringLiteral("%1+%2").arg(base).arg(k)));
            }
        }
        QCOMPARE(count, 80);
    }
    // Offsets that no window reads still exist in every block.
    for (int base : kBases)
        for (int k : {16, 75, 79, 87}) QVERIFY(i18n::hasText(base + k));
    QCOMPARE(i18n::text_id(416), QStringLiteral("Pesetas"));
    QCOMPARE(i18n::text_id(516), QStringLiteral("TRANSLATE: US Dollars"));
}

void TestTexts::lookup_followsTheWorkingLanguage() {
    qz_test::LangBase = 116;
    QCOMPARE(qz_test::text(5), QStringLiteral("Kö&vetkező"));
    qz_test::LangBase = 216;
    QCOMPARE(qz_test::text(5), QStringLiteral("Si&guiente"));
    QCOMPARE(qz_test::text(65), QStringLiteral("Quizmora English"));
    qz_test::LangBase = 16;
    QCOMPARE(qz_test::text(57), QStringLiteral("Nega&ti&on"));
    QCOMPARE(qz_test::text(0), QStringLiteral("&OK"));
    QCOMPARE(qz_test::text(1), QStringLiteral("&EXIT"));
    QCOMPARE(qz_test::text(64), QStringLiteral("No&uns"));
    QCOMPARE(qz_test::text(86).left(8), QStringLiteral("Search: "));
    QCOMPARE(qz_test::text(79),
             QStringLiteral("This record doesn't exist. Press \"Enter\" or click the \"Next\" button again."));
    qz_test::LangBase = 316;
    QCOMPARE(qz_test::text(1), QStringLiteral("&QUITTER"));
    qz_test::LangBase = 116;
    QCOMPARE(qz_test::text(1), QStringLiteral("KILÉ&P"));
    QCOMPARE(qz_test::text(91), QStringLiteral("Fü&ggő beszéd"));
    qz_test::resetGlobals();
}

void TestTexts::fixedIdentifiers() {
    for (int base : {16, 116, 216}) {
        qz_test::LangBase = static_cast<std::int16_t>(base);
        QCOMPARE(qz_test::text_id(81), QStringLiteral("Quizmora Hungarian"));
    }
    qz_test::resetGlobals();
}

void TestTexts::missingIdentifiers_throw() {
    QVERIFY_THROWS_EXCEPTION(i18n::MissingText, i18n::text_id(17 + 16));
    QVERIFY_THROWS_EXCEPTION(i18n::MissingText, i18n::text(70, 16));
    QVERIFY_THROWS_EXCEPTION(i18n::MissingText, i18n::text_id(0));
    QVERIFY_THROWS_EXCEPTION(i18n::MissingText, i18n::text_id(99999));
    // Before any language is chosen the base is 0: no offset names a text.
    qz_test::resetGlobals();
    QVERIFY_THROWS_EXCEPTION(i18n::MissingText, qz_test::text(2));
}

void TestTexts::texts_useTheHungarianLetters() {
    for (int base : kBases)
        for (int k = 0; k < 100; ++k) {
            if (!used(k)) continue;
            const QString t = i18n::text(k, base);
            QVERIFY2(!t.contains(QChar(0x00F5)) && !t.contains(QChar(0x00FB)), qPrintable(t));
        }
    QVERIFY(i18n::text(40, 116).contains(QChar(0x0171)));  // ű in "Betűtípusok"
}

QTEST_APPLESS_MAIN(TestTexts)
#include "tst_texts.moc"
