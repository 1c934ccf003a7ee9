// Every window of the program, loaded, shown and unloaded in every working
// language: the captions of its table are on its controls, its title is set,
// nothing is reported, and it comes back the same after unloading.

#include <QTest>
#include <map>

#include "app/qz_test.h"
#include "app/tasks.h"
#include "i18n/captions.h"
#include "testkit.h"
#include "toolkit/controls.h"

using namespace qz_test;

namespace {

struct WindowCase {
    const char* name;
    tasks::Window window;
    const i18n::WindowCaptions* captions;  // nullptr: captions as designed
};

const WindowCase kWindows[] = {
    {"language", tasks::Language, nullptr},  {"background", tasks::Background, nullptr},
    {"about", tasks::About, &i18n::kSobreCaptions}, {"launcher", tasks::Launcher, &i18n::kQuizspCaptions},
    {"how-to", tasks::HowTo, nullptr},       {"practice", tasks::Practice, &i18n::kSpgyakCaptions},
    {"test", tasks::Test, &i18n::kSptestCaptions},
    {"review", tasks::Review, &i18n::kHibatstCaptions}, {"editor", tasks::Editor, &i18n::kForm1Captions},
};

}  // namespace

class TestWindows : public QObject {
    Q_OBJECT

private slots:
    void everyWindow_everyLanguage_data();
    void everyWindow_everyLanguage();
};

void TestWindows::everyWindow_everyLanguage_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("base");
    for (int i = 0; i < int(std::size(kWindows)); ++i)
        for (int base : {16, 116, 216})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(kWindows[i].name)).arg(base)))
                << i << base;
}

void TestWindows::everyWindow_everyLanguage() {
    QFETCH(int, which);
    QFETCH(int, base);
    const WindowCase& wc = kWindows[which];
    testkit::Session s;
    LangBase = static_cast<std::int16_t>(base);
    SplashDone = 1;
    DbPath = AppDir() + QStringLiteral("qz_data.mdb");

    for (int round = 0; round < 2; ++round) {
        tk::Form& f = tasks::form(wc.window);
        f.Show();
        QVERIFY(f.Loaded());
        QVERIFY(f.Visible());
        QVERIFY(!f.Caption().isEmpty());
        if (wc.captions) {
            QString title;
            std::map<QString, QString> last;  // a later caption (a Hungarian literal) wins
            for (const auto& [control, caption] : i18n::captionsFor(*wc.captions, base, title)) last[control] = caption;
            for (const auto& [control, caption] : last) {
                if (control.isEmpty()) {
                    QCOMPARE(f.Caption(), caption);
                    continue;
                }
                tk::Control* c = f.findControl(control);
                QVERIFY2(c, qPrintable(control));
                QCOMPARE(c->Caption(), caption);
            }
        }
        // Every widget a reader can reach has a name to read.
        for (tk::Control* c : f.controls()) {
            auto* w = c->widget();
            if (!w || !w->isVisibleTo(f.window()) || !w->focusPolicy()) continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(c->Name()));
        }
        QCOMPARE(s.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox), 0);
        f.Unload();
        QVERIFY(!f.Loaded());
        testkit::settle();
    }
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
