// The caption tables of the six windows: texts per working language, the
// Hungarian literals of the practice window, window names and titles.

#include <QTest>
#include <map>
#include <set>

#include "i18n/captions.h"
#include "i18n/texts.h"

using i18n::captionsFor;

namespace {

std::map<QString, QString> captions(const i18n::WindowCaptions& table, int base, QString* msgTitle = nullptr) {
    QString title = QStringLiteral("before");
    std::map<QString, QString> out;
    for (const auto& [control, text] : captionsFor(table, base, title)) out[control] = text;  // last one wins
    if (msgTitle) *msgTitle = title;
    return out;
}

}  // namespace

class TestCaptions : public QObject {
    Q_OBJECT

private slots:
    void everyTable_everyLanguage();
    void practice_hungarianLiterals();
    void editor_spanish();
    void titlesAndNames();
    void about_andLauncher();
    void order_isTheTableOrder();
    void topics_distinctTexts();
    void extraTexts_everyOneInEveryLanguage();
};

void TestCaptions::extraTexts_everyOneInEveryLanguage() {
    const auto last = static_cast<int>(i18n::Extra::BankOtherFailure);
    for (int id = 0; id <= last; ++id) {
        std::set<QString> seen;
        for (int base : {16, 116, 216}) {
            const QString t = i18n::extraText(static_cast<i18n::Extra>(id), base);
            QVERIFY2(!t.isEmpty(), qPrintable(QStringLiteral("text %1 in %2").arg(id).arg(base)));
            seen.insert(t);
        }
        QCOMPARE(int(seen.size()), 3);  // really translated, not one language three times
        QCOMPARE(i18n::extraText(static_cast<i18n::Extra>(id), 316), i18n::extraText(static_cast<i18n::Extra>(id), 16));
    }
}

void TestCaptions::topics_distinctTexts() {
    std::set<int> offsets;
    for (const auto& t : i18n::kTopicCaptions) offsets.insert(t.offset);
    QCOMPARE(int(offsets.size()), 22);
}

void TestCaptions::everyTable_everyLanguage() {
    for (const i18n::WindowCaptions* t : {&i18n::kQuizspCaptions, &i18n::kSobreCaptions, &i18n::kForm1Captions,
                                          &i18n::kSpgyakCaptions, &i18n::kSptestCaptions, &i18n::kHibatstCaptions})
        for (int base : {16, 116, 216, 316}) {
            QString title;
            const auto rows = captionsFor(*t, base, title);  // every offset exists in every block
            QVERIFY(!rows.empty());
            for (const auto& [control, text] : rows) QVERIFY2(!text.isEmpty(), qPrintable(control));
        }
}

void TestCaptions::practice_hungarianLiterals() {
    const auto hu = captions(i18n::kSpgyakCaptions, 116);
    QCOMPARE(hu.at("Command2"), QStringLiteral("To&vább"));
    QCOMPARE(hu.at("Command10"), QStringLiteral("To&vább"));
    QCOMPARE(hu.at("Command8"), QStringLiteral("Tová&bb"));
    QCOMPARE(hu.at("Command5"), QStringLiteral("&Első"));
    QCOMPARE(hu.at("Command7"), QStringLiteral("Viss&za"));
    QCOMPARE(hu.at("mnustart"), QStringLiteral("&Kezdőpont..."));
    QCOMPARE(hu.at("mnuTopicItem(1)"), QStringLiteral("Ige_Időhasználat"));
    QCOMPARE(hu.at("mnuTopicItem(5)"), QStringLiteral("&Főnév"));
    QCOMPARE(hu.at("mnuTopicItem(8)"), QStringLiteral("Függő beszéd"));
    QCOMPARE(hu.at("mnuTopicItem(9)"), QStringLiteral("Igekötők"));
    QCOMPARE(hu.at("mnuTopicItem(0)"), QStringLiteral("&Ige"));  // from the table
    QCOMPARE(hu.at("Command1"), QStringLiteral("&Megoldás"));
    // Other languages keep the table texts.
    const auto en = captions(i18n::kSpgyakCaptions, 16);
    QCOMPARE(en.at("Command2"), QStringLiteral("&Next"));
    QCOMPARE(en.at("mnuTopicItem(5)"), QStringLiteral("No&uns"));
    QCOMPARE(en.at("mnuTopicItem(18)"), QStringLiteral("Nega&ti&on"));
    QCOMPARE(en.at("Label24"), QStringLiteral("If you want to see the record number, click here."));
    // The editor never uses the practice window's literals.
    QCOMPARE(captions(i18n::kForm1Captions, 116).at("mnutopicItem(5)"), QStringLiteral("&Főnév"));
    QCOMPARE(captions(i18n::kForm1Captions, 116).at("mnutopicItem(1)"), QStringLiteral("Ige_I&dőhasználat"));
}

void TestCaptions::editor_spanish() {
    QString name;
    const auto es = captions(i18n::kForm1Captions, 216, &name);
    QCOMPARE(name, QStringLiteral("Base de datos"));
    QCOMPARE(es.at(QString()), QStringLiteral("Quizmora Hungarian  ----  Base de datos"));
    QCOMPARE(es.at("mnutopicItem(5)"), QStringLiteral("Oraciones condiciona&les"));
    QCOMPARE(es.at("Command11"), QStringLiteral("Bus&car (siguiente)"));
    QCOMPARE(es.at("mnuFonts"), QStringLiteral("&Fuentes"));
}

void TestCaptions::titlesAndNames() {
    const struct {
        const i18n::WindowCaptions* table;
        int base;
        const char* name;
    } cases[] = {
        {&i18n::kSpgyakCaptions, 116, "Gyakorlás"},     {&i18n::kSptestCaptions, 216, "Test"},
        {&i18n::kHibatstCaptions, 116, "Hibás feleletek"}, {&i18n::kHibatstCaptions, 216, "Soluciones erróneas"},
        {&i18n::kForm1Captions, 316, "Base de données"}, {&i18n::kSptestCaptions, 116, "Teszt"},
    };
    for (const auto& c : cases) {
        QString name;
        const auto all = captions(*c.table, c.base, &name);
        QCOMPARE(name, QString::fromUtf8(c.name));
        QCOMPARE(all.at(QString()), QStringLiteral("Quizmora Hungarian  ----  ") + QString::fromUtf8(c.name));
    }
    // A base that is none of the four leaves the name as it was (its texts do not exist).
    QString name = QStringLiteral("kept");
    QVERIFY_THROWS_EXCEPTION(i18n::MissingText, captionsFor(i18n::kSptestCaptions, 0, name));
    // The test window's labels show the menu texts, marker and ellipsis included.
    const auto en = captions(i18n::kSptestCaptions, 16);
    QCOMPARE(en.at("Label19"), QStringLiteral("&Number of sentences..."));
    QCOMPARE(en.at("Label20"), QStringLiteral("&Delay..."));
}

void TestCaptions::about_andLauncher() {
    const auto es = captions(i18n::kSobreCaptions, 216);
    QCOMPARE(es.at("Label1"), QStringLiteral("Quizmora English"));
    QCOMPARE(es.at(QString()), QStringLiteral("Acerca de"));
    QCOMPARE(es.at("Command1"), QStringLiteral("&ACEPTAR"));
    const auto hu = captions(i18n::kQuizspCaptions, 116);
    QCOMPARE(hu.at("Exi"), QStringLiteral("KILÉ&P"));
    QCOMPARE(hu.at("activities"), QStringLiteral("Üzemmód:"));
    QVERIFY(!hu.count(QString()));  // the launcher's title stays
    QVERIFY(!hu.count(QStringLiteral("worklang(0)")));
}

void TestCaptions::order_isTheTableOrder() {
    QString name;
    const auto rows = captionsFor(i18n::kSpgyakCaptions, 116, name);
    QCOMPARE(rows.front().first, QStringLiteral("Command1"));
    QCOMPARE(rows.back().first, QString());  // the title comes last
    // The Hungarian literals come after the table texts they replace.
    int table = -1, literal = -1;
    for (int i = 0; i < int(rows.size()); ++i)
        if (rows[std::size_t(i)].first == QLatin1String("Command2"))
            (table < 0 ? table : literal) = i;
    QVERIFY(table >= 0 && literal > table);
    QCOMPARE(rows[std::size_t(literal)].second, QStringLiteral("To&vább"));
}

QTEST_APPLESS_MAIN(TestCaptions)
#include "tst_captions.moc"
