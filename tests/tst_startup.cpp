// Start-up: AppDir, the language window over the background window, and the
// language buttons.

#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/hatter.h"
#include "app/lang.h"
#include "app/sobre.h"
#include "testkit.h"
#include "toolkit/twips.h"

using namespace qz_test;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void appDir_appendsExactlyOneSlash();
    void langLoad_designStateOverTheBackground();
    void languageButtons_setTheBaseAndShowTheSplash();
    void languageButtons_lastChoiceWins();
    void disabledLanguages_cannotBePressed();
    void closingLang_leavesTheBackground();
};

void TestStartup::appDir_appendsExactlyOneSlash() {
    QCOMPARE(AppDir(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(AppDir(QStringLiteral("/opt/quizmora")), QStringLiteral("/opt/quizmora/"));
    QCOMPARE(AppDir(QStringLiteral("/opt/quizmora/")), QStringLiteral("/opt/quizmora/"));
    QVERIFY(AppDir().endsWith(QLatin1Char('/')));
    QVERIFY(!AppDir().endsWith(QStringLiteral("//")));
}

void TestStartup::langLoad_designStateOverTheBackground() {
    testkit::Session s;
    lang& l = tk::form<lang>();
    l.Show();
    QVERIFY(l.Visible());
    QVERIFY(l.Topmost());
    QCOMPARE(l.Caption(), QStringLiteral("Quizmora Hungarian"));
    QCOMPARE(l.client()->size(), QSize(tk::toPixelsX(5070), tk::toPixelsY(3765)));
    QCOMPARE(l.window()->palette().color(QPalette::Window), QColor(128, 128, 128));
    // Centred on the screen (the window frame, unknown before the first
    // show, may shift it by a few pixels).
    const QPoint centre = l.window()->frameGeometry().center();
    const QRect screen = l.window()->screen()->geometry();
    QVERIFY(std::abs(centre.y() - screen.center().y()) <= 4);
    QVERIFY(std::abs(centre.x() - screen.center().x()) <= 4);

    hatter& h = tk::form<hatter>();
    QVERIFY(h.Visible());
    QVERIFY(!h.Topmost());
    QVERIFY(h.window()->isMaximized() || h.window()->width() >= l.window()->width());
    QCOMPARE(h.Caption(), QStringLiteral("Q U I Z M O R A    H U N G A R I A N "));
    QCOMPARE(h.window()->palette().color(QPalette::Window), QColor(192, 192, 192));

    QCOMPARE(l.Label3.Caption(), QStringLiteral("Welcome to"));
    QCOMPARE(l.Label1.Caption(), QStringLiteral("QUIZMORA HUNGARIAN"));
    QCOMPARE(l.Label2.Caption(), QStringLiteral("Please select the working language:"));
    const QStringList captions{l.Command1.Caption(), l.Command2.Caption(), l.Command3.Caption(),
                               l.Command5.Caption(), l.Command4.Caption(), l.Command6.Caption()};
    QCOMPARE(captions, (QStringList{"&English", "&Français", "&Deutsch", "E&spañol", "&Italiano", "&Magyar"}));
    QVERIFY(l.Command1.Enabled() && l.Command5.Enabled() && l.Command6.Enabled());
    QVERIFY(!l.Command2.Enabled() && !l.Command3.Enabled() && !l.Command4.Enabled());
    QCOMPARE(l.Command1.widget()->accessibleName(), QStringLiteral("English"));
    QCOMPARE(l.Command5.font().name, QStringLiteral("Arial"));
    QVERIFY(l.Command5.font().bold);
    QCOMPARE(l.Command1.font().name, QStringLiteral("MS Sans Serif"));
    QCOMPARE(l.Command1.font().size, 9.75);
    QVERIFY(!l.Label2.font().bold);
    // The buttons sit in the frame; every flag has its picture.
    QCOMPARE(l.Command6.widget()->parentWidget(), l.Label2.widget());
    for (int i = 0; i < 6; ++i) {
        QVERIFY(!l.Image(i).Picture().isNull());
        QCOMPARE(l.Image(i).Picture().size(), QSize(32, 32));
    }
    QVERIFY(!l.Image1.Picture().isNull());
    QCOMPARE(l.MousePointer(), tk::vbDefault);
}

void TestStartup::languageButtons_setTheBaseAndShowTheSplash() {
    const struct {
        void (lang::*click)();
        int base;
    } cases[] = {{&lang::Command1_Click, 16}, {&lang::Command5_Click, 216}, {&lang::Command6_Click, 116}};
    for (const auto& c : cases) {
        testkit::Session s;
        lang& l = tk::form<lang>();
        l.Show();
        (l.*c.click)();
        QCOMPARE(int(LangBase), c.base);
        QCOMPARE(l.MousePointer(), tk::vbHourglass);
        QVERIFY(tk::form<sobre>().Visible());
        QVERIFY(l.Visible());  // stays open until the launcher closes it
    }
}

void TestStartup::languageButtons_lastChoiceWins() {
    testkit::Session s;
    lang& l = tk::form<lang>();
    l.Show();
    l.Command6.click();
    QCOMPARE(int(LangBase), 116);
    l.Command5.click();
    QCOMPARE(int(LangBase), 216);
    QVERIFY(tk::form<sobre>().Visible());
}

void TestStartup::disabledLanguages_cannotBePressed() {
    testkit::Session s;
    lang& l = tk::form<lang>();
    l.Show();
    QVERIFY(QTest::qWaitForWindowActive(l.window()));
    for (tk::CommandButton* b : {&l.Command2, &l.Command3, &l.Command4})
        QTest::mouseClick(b->widget(), Qt::LeftButton);
    for (Qt::Key k : {Qt::Key_F, Qt::Key_D, Qt::Key_I}) QTest::keyClick(l.window(), k, Qt::AltModifier);
    testkit::settle();
    QCOMPARE(int(LangBase), 0);
    QVERIFY(!tk::Runtime::instance().existing<sobre>() || !tk::form<sobre>().Visible());
    // The enabled ones answer to their access keys.
    QTest::keyClick(l.window(), Qt::Key_M, Qt::AltModifier);
    QTRY_COMPARE(int(LangBase), 116);
}

void TestStartup::closingLang_leavesTheBackground() {
    testkit::Session s;
    lang& l = tk::form<lang>();
    l.Show();
    l.window()->close();
    QVERIFY(!l.Loaded());
    QVERIFY(tk::form<hatter>().Visible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
