// The application shell end to end: the language choice, the splash that
// hands over to the launcher, the About box from the menu, the How-to window.

#include <QLabel>
#include <QTest>

#include "app/form3.h"
#include "app/form3_texts.h"
#include "app/hatter.h"
#include "app/lang.h"
#include "app/quizsp.h"
#include "app/sobre.h"
#include "testkit.h"

using namespace qz_test;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void startUp_languageSplashLauncher();
    void startUp_splashClosedEarly();
    void about_fromTheMenu();
    void about_animationAndInformation();
    void howTo_textsAndOk();
};

void TestShell::startUp_languageSplashLauncher() {
    testkit::Session s;
    lang& l = tk::form<lang>();
    l.Show();
    QVERIFY(tk::form<hatter>().Visible());
    l.Command5.click();  // Español
    sobre& splash = tk::form<sobre>();
    QVERIFY(splash.Visible());
    QCOMPARE(splash.MousePointer(), tk::vbHourglass);
    QVERIFY(!splash.Command1.Visible());
    QCOMPARE(splash.Label1.Caption(), QStringLiteral("Quizmora English"));
    QCOMPARE(splash.Caption(), QStringLiteral("Acerca de"));
    QCOMPARE(int(SplashDone), 0);
    // About 30 ms later the splash hands over.
    QTRY_VERIFY(tk::Runtime::instance().existing<Quizsp>() && tk::form<Quizsp>().Visible());
    QVERIFY(!splash.Loaded());
    QVERIFY(!l.Loaded());  // the launcher closed the language window
    QCOMPARE(int(SplashDone), 1);
    QCOMPARE(DbPath, AppDir() + QStringLiteral("qz_data.mdb"));
    QCOMPARE(tk::form<Quizsp>().ok.Caption(), QStringLiteral("&ACEPTAR"));
    QVERIFY(tk::form<hatter>().Visible());  // the background stays
    // The splash does not come back by itself: its timer died with it.
    testkit::settle();
    QVERIFY(!splash.Timer1.running());
    QVERIFY(!splash.Loaded());
}

void TestShell::startUp_splashClosedEarly() {
    testkit::Session s;
    lang& l = tk::form<lang>();
    l.Show();
    l.Command6.click();
    sobre& splash = tk::form<sobre>();
    splash.window()->close();  // before its timer fires
    QVERIFY(!splash.Timer1.running());
    testkit::settle();
    QVERIFY(!tk::Runtime::instance().existing<Quizsp>());
    QVERIFY(l.Visible());
    QCOMPARE(l.MousePointer(), tk::vbHourglass);
    QCOMPARE(int(SplashDone), 0);
    // The user can choose again.
    l.Command1.click();
    QCOMPARE(int(LangBase), 16);
    QTRY_VERIFY(tk::Runtime::instance().existing<Quizsp>() && tk::form<Quizsp>().Visible());
    QCOMPARE(tk::form<Quizsp>().ok.Caption(), QStringLiteral("&OK"));
}

void TestShell::about_fromTheMenu() {
    testkit::Session s;
    LangBase = 116;
    SplashDone = 1;
    Quizsp& q = tk::form<Quizsp>();
    q.Show();
    q.mnuabout.trigger();
    sobre& about = tk::form<sobre>();
    QVERIFY(about.Visible());
    QCOMPARE(about.MousePointer(), tk::vbDefault);
    QVERIFY(about.Command1.Visible());
    QCOMPARE(about.Command1.Caption(), QStringLiteral("&OK"));
    QCOMPARE(about.Caption(), QStringLiteral("Névjegy"));
    QVERIFY(!about.Timer1.running());  // it does not close by itself
    testkit::settle();
    QVERIFY(about.Loaded());
    about.Command1.click();
    QVERIFY(!about.Loaded());
    QVERIFY(q.Visible());
}

void TestShell::about_animationAndInformation() {
    testkit::Session s;
    for (int base : {16, 116, 216}) {
        LangBase = static_cast<std::int16_t>(base);
        SplashDone = 1;
        sobre& about = tk::form<sobre>();
        about.Show();
        about.Timer1.setEnabled(false);
        QCOMPARE(about.frame(), 3);
        QCOMPARE(about.Image1.Picture().toImage(), about.Image3.Picture().toImage());
        about.Timer2.tick();
        QCOMPARE(about.frame(), 4);
        QCOMPARE(about.Image1.Picture().toImage(), about.Image4.Picture().toImage());
        about.Timer2.tick();
        about.Timer2.tick();
        QCOMPARE(about.frame(), 3);
        QVERIFY(about.Timer2.running());
        s.dialogs.clear();
        QTest::mouseClick(about.Image2.widget(), Qt::LeftButton);
        const auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].title, QStringLiteral("Mi ez?"));
        QCOMPARE(boxes[0].style, int(tk::vbInformation));
        const QStringList parts = boxes[0].prompt.split(QStringLiteral("\r\n"));
        QCOMPARE(parts.size(), 4);
        for (int i = 1; i < 4; ++i) QVERIFY(parts[i].startsWith(QStringLiteral("  ")));
        QVERIFY(parts[0].contains(QStringLiteral("qz_data.mdb")));
        about.Unload();
    }
}

void TestShell::howTo_textsAndOk() {
    testkit::Session s;
    for (int base : {16, 216}) {
        LangBase = static_cast<std::int16_t>(base);
        Quizsp& q = tk::form<Quizsp>();
        q.Show();
        q.mnuhow.trigger();
        Form3& how = tk::form<Form3>();
        QVERIFY(how.Visible());
        QVERIFY(how.Topmost());
        QCOMPARE(how.Caption(), QStringLiteral("How to ..."));
        QVERIFY(how.Label1.Caption().startsWith(QStringLiteral("       A tanuló két gyakorlási forma")));
        QVERIFY(how.Label1.Caption().contains(QStringLiteral("a helyes és a  helytelen")));
        QVERIFY(how.Label2.Caption().contains(QStringLiteral("véletlenszerű sorrendben")));
        QVERIFY(how.Label2.Caption().contains(QStringLiteral("\n\"Teszt\" üzemmód")));
        QCOMPARE(how.Label1.font().name, QStringLiteral("Times New Roman"));
        how.Command1.click();
        QVERIFY(!how.Loaded());
        q.Unload();
    }
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
