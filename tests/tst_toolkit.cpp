// The window runtime: lifecycle, option groups, access keys, default button,
// key preview, menus, timers, the keep-on-top call, End, control families,
// twips, captions, the random generator and the handler-error helper.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <set>

#include "toolkit/caption.h"
#include "toolkit/controls.h"
#include "toolkit/handler.h"
#include "toolkit/held.h"
#include "testkit.h"
#include "toolkit/twips.h"
#include "toolkit/winapi.h"

namespace {

class Probe : public tk::Form {
public:
    Probe() : tk::Form(QStringLiteral("Probe")) {}

    tk::Frame Frame1{this, QStringLiteral("Frame1")};
    tk::OptionButton Option1{this, QStringLiteral("Option1")};
    tk::OptionButton Option2{this, QStringLiteral("Option2")};
    tk::OptionButton Option3{this, QStringLiteral("Option3")};  // never visible: clears the choice
    tk::OptionButton Option4{this, QStringLiteral("Option4")};  // another group
    tk::CommandButton Command1{this, QStringLiteral("Command1")};
    tk::CommandButton Command2{this, QStringLiteral("Command2")};
    tk::CommandButton Command3{this, QStringLiteral("Command3")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::TextBox Text1{this, QStringLiteral("Text1")};
    tk::Menu mnuFile{this, QStringLiteral("mnuFile")};
    tk::Menu mnuSub{this, QStringLiteral("mnuSub")};
    tk::ControlArray<tk::Menu> mnuItem{this, QStringLiteral("mnuItem"), 3};
    tk::Timer Timer1{this, QStringLiteral("Timer1")};

    QStringList log;
    int kept = 0;  // a window variable: survives unloading
    QList<int> keys;

    void Command1_Click() { log << QStringLiteral("Command1"); }
    void Command2_Click() { log << QStringLiteral("Command2"); }
    void Command3_Click() { log << QStringLiteral("Command3"); }

protected:
    void design() override {
        log << QStringLiteral("design");
        setClientSize(4800, 3600);
        setCaption(QStringLiteral("Probe window"));
        setKeyPreview(true);
        Frame1.create(*this, 120, 120, 2400, 1800, QStringLiteral("&Group"));
        Option1.create(Frame1, 120, 240, 1800, 300, QStringLiteral("&Alpha")).onClick([this] { log << "Option1"; });
        Option2.create(Frame1, 120, 600, 1800, 300, QStringLiteral("&Beta")).onClick([this] { log << "Option2"; });
        Option3.create(Frame1, 120, 960, 1800, 300).setVisible(false);
        Option4.create(*this, 2640, 120, 1800, 300, QStringLiteral("&Other")).onClick([this] { log << "Option4"; });
        Command1.create(*this, 2640, 600, 1335, 375, QStringLiteral("&Run")).onClick([this] { Command1_Click(); });
        Command2.create(*this, 2640, 1080, 1335, 375, QStringLiteral("&Disabled"))
            .setEnabled(false)
            .onClick([this] { Command2_Click(); });
        Command3.create(*this, 2640, 1560, 1335, 375, QStringLiteral("&Hidden"))
            .setVisible(false)
            .onClick([this] { Command3_Click(); });
        Label1.create(*this, 120, 2040, 2400, 300, QStringLiteral("Sa&ve && quit"));
        Text1.create(*this, 120, 2400, 2400, 300);
        mnuFile.createMenu(*this, QStringLiteral("&File"));
        mnuSub.createMenu(mnuFile, QStringLiteral("&More"));
        for (int i = 0; i < 3; ++i)
            mnuItem(i).createItem(mnuSub, QStringLiteral("Item &%1").arg(i)).onClick([this, i] {
                log << QStringLiteral("mnuItem(%1)").arg(i);
            });
        mnuItem(0).setChecked(true);
        Timer1.create(*this, 0, true).onTimer([this] { log << QStringLiteral("tick"); });
    }
    void Form_Load() override { log << QStringLiteral("Form_Load"); }
    void Form_Unload() override { log << QStringLiteral("Form_Unload"); }
    void Form_KeyPress(int& KeyAscii) override {
        keys << KeyAscii;
        if (KeyAscii == 'x') KeyAscii = 0;
    }
};

class Other : public tk::Form {
public:
    Other() : tk::Form(QStringLiteral("Other")) {}
    tk::CommandButton Command1{this, QStringLiteral("Command1")};
    bool failNext = false;
    bool bugNext = false;

protected:
    void design() override {
        setClientSize(2000, 1000);
        setCaption(QStringLiteral("Other window"));
        Command1.create(*this, 100, 100, 1335, 375, QStringLiteral("&Go")).onClick([this] {
            if (failNext) throw qz::Error(qz::ErrNoCurrentRow, QStringLiteral("No current row."));
            if (bugNext) throw std::out_of_range("index 7 out of range");
        });
    }
};

// A family of four options chosen by mouse and by the keys a to d, and what
// the window opens while it is loaded.
class Family : public tk::Form {
public:
    Family() : tk::Form(QStringLiteral("Family")) {}
    tk::ControlArray<tk::OptionButton> Option3D2{this, QStringLiteral("Option3D2"), 4};
    tk::Held<QString> opened{this, QStringLiteral("opened")};
    QList<int> chosen;

    void Option3D2_Click(int Index) { chosen << Index; }

protected:
    void design() override {
        setClientSize(3000, 2000);
        setKeyPreview(true);
        for (int i = 0; i < 4; ++i)
            Option3D2(i).create(*this, 120, 120 + 360 * i, 1200, 300, QString(QChar('A' + i)));
        Option3D2.onClick([this](int i) { Option3D2_Click(i); });
    }
    void Form_Load() override { opened = std::make_shared<QString>(QStringLiteral("bank")); }
    void Form_KeyPress(int& KeyAscii) override {
        if (const int i = tk::letterIndex(KeyAscii, 'a', Option3D2.count()); i >= 0) Option3D2(i).setValue(true);
    }
};

}  // namespace

class TestToolkit : public QObject {
    Q_OBJECT

private slots:
    void lifecycle_loadRunsDesignThenFormLoad();
    void lifecycle_unloadKeepsVariablesAndReloadRestoresDesign();
    void lifecycle_hideLoadsUnseenAndShowBringsForward();
    void lifecycle_windowManagerCloseUnloads();
    void lifecycle_controlsOfUnloadedWindowRefuse();
    void options_codeAndMouseSelectOneOfGroup();
    void accessKeys_onlyEnabledVisibleControlsActivate();
    void enter_pressesFocusedThenDefaultButton();
    void keyPreview_seesKeysFirstAndCanSwallow();
    void menus_checkMarksCaptionsAndStates();
    void timers_tickOnlyWhileEnabledAndDieWithWindow();
    void setWindowPos_togglesTopmostWithoutMovingOrHiding();
    void end_closesEverythingAndStopsEvents();
    void errors_trappedSilentlyOrReported();
    void twips_conversionAndCentring();
    void captions_accessKeyMarkers();
    void random_seededAndIndependent();
    void pointer_hourglassAndDefault();
    void families_mouseAndKeysShareOneHandler();
    void held_releasedAtUnloadAndRefusesWhenEmpty();
};

void TestToolkit::families_mouseAndKeysShareOneHandler() {
    testkit::Session s;
    Family& f = tk::form<Family>();
    f.Show();
    QTest::mouseClick(f.Option3D2(2).widget(), Qt::LeftButton, {}, QPoint(5, 5));
    testkit::typeChar(f.window(), 'a');
    testkit::typeChar(f.window(), 'd');
    testkit::typeChar(f.window(), 'C');  // upper case is not a choice
    testkit::typeChar(f.window(), 'e');
    QCOMPARE(f.chosen, (QList<int>{2, 0, 3}));
    QVERIFY(f.Option3D2(3).Value());
    QVERIFY(!f.Option3D2(2).Value());
    // The same after reloading: the handler is wired anew with the controls.
    f.Unload();
    f.chosen.clear();
    f.Show();
    testkit::typeChar(f.window(), 'b');
    QCOMPARE(f.chosen, (QList<int>{1}));
}

void TestToolkit::held_releasedAtUnloadAndRefusesWhenEmpty() {
    testkit::Session s;
    Family& f = tk::form<Family>();
    QVERIFY_THROWS_EXCEPTION(qz::Error, f.opened->size());  // never opened
    f.Show();
    QCOMPARE(*f.opened, QStringLiteral("bank"));
    std::weak_ptr<QString> watch = f.opened.shared();
    f.Unload();
    QVERIFY(watch.expired());  // released with the window, not kept for the next load
    QVERIFY(!f.opened.isSet());
    f.opened.fail(QStringLiteral("The item bank /x/qz_data.mdb is locked."));
    try {
        f.opened->size();
        QFAIL("an empty handle must refuse");
    } catch (const qz::Error& e) {
        QCOMPARE(e.number(), int(qz::ErrObjectNotSet));
        QCOMPARE(e.message(), QStringLiteral("The item bank /x/qz_data.mdb is locked."));
    }
}

void TestToolkit::lifecycle_loadRunsDesignThenFormLoad() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    QVERIFY(!p.Loaded());
    p.Load();
    QVERIFY(p.Loaded());
    QVERIFY(!p.Visible());
    QCOMPARE(p.log, (QStringList{"design", "Form_Load"}));
    QCOMPARE(&tk::form<Probe>(), &p);  // one object per window
    p.Load();                          // already loaded: nothing runs again
    QCOMPARE(p.log.size(), 2);
    // Object names and accessible names.
    QCOMPARE(p.window()->findChild<QPushButton*>(QStringLiteral("Command1"))->accessibleName(), QStringLiteral("Run"));
    QCOMPARE(p.Label1.widget()->accessibleName(), QStringLiteral("Save & quit"));
    QVERIFY(p.window()->findChild<QAction*>(QStringLiteral("mnuItem(2)")));
}

void TestToolkit::lifecycle_unloadKeepsVariablesAndReloadRestoresDesign() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.kept = 42;
    p.Command1.setCaption(QStringLiteral("Changed"));
    p.Option2.setValue(true);
    QPointer<QWidget> oldButton = p.Command1.widget();
    p.Unload();
    QVERIFY(!p.Loaded());
    QCOMPARE(p.log.last(), QStringLiteral("Form_Unload"));
    testkit::settle();
    QVERIFY(oldButton.isNull());  // controls destroyed with the window

    p.log.clear();
    p.Show();
    QCOMPARE(p.log, (QStringList{"design", "Form_Load"}));
    QCOMPARE(p.kept, 42);
    QCOMPARE(p.Command1.Caption(), QStringLiteral("&Run"));
    QVERIFY(!p.Option2.Value());
    QVERIFY(p.mnuItem(0).Checked());
}

void TestToolkit::lifecycle_hideLoadsUnseenAndShowBringsForward() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Hide();
    QVERIFY(p.Loaded());
    QVERIFY(!p.Visible());
    QCOMPARE(p.log, (QStringList{"design", "Form_Load"}));
    p.Show();
    QVERIFY(p.Visible());
    p.Show();  // showing again loads nothing
    QCOMPARE(p.log.size(), 2);
    p.Hide();
    QVERIFY(p.Loaded());
    QVERIFY(!p.Visible());
}

void TestToolkit::lifecycle_windowManagerCloseUnloads() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.window()->close();
    QVERIFY(!p.Loaded());
    QCOMPARE(p.log.last(), QStringLiteral("Form_Unload"));
}

void TestToolkit::lifecycle_controlsOfUnloadedWindowRefuse() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    try {
        p.Command1.setCaption(QStringLiteral("x"));
        QFAIL("a control of an unloaded window must refuse");
    } catch (const qz::Error& e) {
        QCOMPARE(e.number(), int(qz::ErrNotLoaded));
    }
    p.Load();
    p.Unload();
    QVERIFY_THROWS_EXCEPTION(qz::Error, p.Command1.Visible());
    QVERIFY_THROWS_EXCEPTION(qz::Error, p.mnuItem(1).setChecked(true));
}

void TestToolkit::options_codeAndMouseSelectOneOfGroup() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.log.clear();

    p.Option1.setValue(true);
    QCOMPARE(p.log, QStringList{"Option1"});
    QVERIFY(p.Option1.Value());

    QTest::mouseClick(p.Option2.widget(), Qt::LeftButton);
    QCOMPARE(p.log, (QStringList{"Option1", "Option2"}));
    QVERIFY(p.Option2.Value());
    QVERIFY(!p.Option1.Value());

    // A click on the selected option keeps it selected and runs its handler.
    QTest::mouseClick(p.Option2.widget(), Qt::LeftButton);
    QVERIFY(p.Option2.Value());
    QCOMPARE(p.log.last(), QStringLiteral("Option2"));

    // The hidden option clears the visible choice.
    p.Option3.setValue(true);
    QVERIFY(!p.Option1.Value());
    QVERIFY(!p.Option2.Value());
    QVERIFY(p.Option3.Value());

    // Another container is another group.
    p.Option1.setValue(true);
    p.Option4.setValue(true);
    QVERIFY(p.Option1.Value());
    QVERIFY(p.Option4.Value());

    // An option described apart from its caption keeps its description
    // through later captions, until the window is built anew.
    QCOMPARE(p.Option1.widget()->accessibleName(), QStringLiteral("Alpha"));
    p.Option1.setDescription(QStringLiteral("A"));
    p.Option1.setCaption(QStringLiteral("&First"));
    QCOMPARE(p.Option1.widget()->accessibleName(), QStringLiteral("A"));
    p.Unload();
    p.Show();
    QCOMPARE(p.Option1.widget()->accessibleName(), QStringLiteral("Alpha"));
}

void TestToolkit::accessKeys_onlyEnabledVisibleControlsActivate() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    QVERIFY(QTest::qWaitForWindowActive(p.window()));
    p.log.clear();

    QTest::keyClick(p.window(), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(p.log, QStringList{"Command1"});

    QTest::keyClick(p.window(), Qt::Key_D, Qt::AltModifier);  // disabled
    QTest::keyClick(p.window(), Qt::Key_H, Qt::AltModifier);  // hidden
    testkit::settle();
    QCOMPARE(p.log, QStringList{"Command1"});

    QTest::mouseClick(p.Command2.widget(), Qt::LeftButton);  // disabled: no click either
    QCOMPARE(p.log, QStringList{"Command1"});

    // Once enabled, the same key works.
    p.Command2.setEnabled(true);
    QTest::keyClick(p.window(), Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(p.log, (QStringList{"Command1", "Command2"}));

    // An option's access key selects it like a click.
    QTest::keyClick(p.window(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(p.Option2.Value());
}

void TestToolkit::enter_pressesFocusedThenDefaultButton() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.Command3.setVisible(true);
    p.Command3.setDefault(true);
    QVERIFY(p.Command3.Default());
    p.log.clear();

    p.Text1.SetFocus();
    testkit::typeKey(p.window(), Qt::Key_Return);
    QCOMPARE(p.log, QStringList{"Command3"});

    p.Command1.SetFocus();
    testkit::typeKey(p.window(), Qt::Key_Return);
    QCOMPARE(p.log, (QStringList{"Command3", "Command1"}));

    // A hidden default button is not pressed.
    p.Command3.setVisible(false);
    p.Text1.SetFocus();
    testkit::typeKey(p.window(), Qt::Key_Return);
    QCOMPARE(p.log.size(), 2);

    // Focus cannot go to a hidden or disabled control.
    QVERIFY_THROWS_EXCEPTION(qz::Error, p.Command3.SetFocus());
    QVERIFY_THROWS_EXCEPTION(qz::Error, p.Command2.SetFocus());
}

void TestToolkit::keyPreview_seesKeysFirstAndCanSwallow() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.Text1.SetFocus();
    testkit::typeChar(p.window(), 'a');
    testkit::typeChar(p.window(), 'x');  // swallowed by the window
    testkit::typeChar(p.window(), 'b');
    QCOMPARE(p.keys, (QList<int>{'a', 'x', 'b'}));
    QCOMPARE(p.Text1.Text(), QStringLiteral("ab"));
    QVERIFY(p.Text1.DataChanged());
}

void TestToolkit::menus_checkMarksCaptionsAndStates() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.log.clear();

    // A click runs the handler and never toggles the mark by itself.
    p.mnuItem(0).trigger();
    QCOMPARE(p.log, QStringList{"mnuItem(0)"});
    QVERIFY(p.mnuItem(0).Checked());
    QVERIFY(p.mnuItem(0).action()->isChecked());
    p.mnuItem(1).trigger();
    QVERIFY(!p.mnuItem(1).Checked());
    QVERIFY(!p.mnuItem(1).action()->isChecked());

    p.mnuItem(1).setChecked(true);
    QVERIFY(p.mnuItem(1).action()->isChecked());

    p.mnuItem(2).setCaption(QStringLiteral("Re&named"));
    QCOMPARE(p.mnuItem(2).action()->text(), QStringLiteral("Re&named"));
    p.mnuSub.setCaption(QStringLiteral("&Sub"));
    QCOMPARE(p.mnuSub.action()->text(), QStringLiteral("&Sub"));

    p.log.clear();
    p.mnuItem(2).setEnabled(false);
    p.mnuItem(2).trigger();
    p.mnuItem(1).setVisible(false);
    p.mnuItem(1).trigger();
    QVERIFY(p.log.isEmpty());
    QVERIFY(!p.mnuItem(2).action()->isEnabled());
    QVERIFY(!p.mnuItem(1).action()->isVisible());
}

void TestToolkit::timers_tickOnlyWhileEnabledAndDieWithWindow() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.log.clear();
    QVERIFY(!p.Timer1.running());  // interval 0 never ticks, even enabled
    p.Timer1.setInterval(20);
    QVERIFY(p.Timer1.running());
    QTRY_VERIFY(p.log.contains(QStringLiteral("tick")));
    p.Timer1.setEnabled(false);
    QVERIFY(!p.Timer1.running());
    p.log.clear();
    testkit::settle();
    QVERIFY(p.log.isEmpty());

    p.Timer1.setEnabled(true);
    QVERIFY(p.Timer1.running());
    p.Unload();
    QVERIFY(!p.Timer1.running());
    p.log.clear();
    testkit::settle();
    QVERIFY(p.log.isEmpty());
}

void TestToolkit::setWindowPos_togglesTopmostWithoutMovingOrHiding() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    p.setLeft(600);
    p.setTop(900);
    const QRect before = p.window()->geometry();
    QVERIFY(!p.Topmost());
    tk::SetWindowPos(p.hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    QVERIFY(p.Topmost());
    QVERIFY(p.Visible());
    QVERIFY(p.window()->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(p.window()->geometry(), before);
    tk::SetWindowPos(p.hWnd(), tk::HWND_NOTOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    QVERIFY(!p.Topmost());
    QVERIFY(p.Visible());
    QCOMPARE(p.window()->geometry(), before);
    // On a window that is not loaded the call does nothing.
    p.Unload();
    QCOMPARE(tk::SetWindowPos(p.hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, 3), 0L);
}

void TestToolkit::end_closesEverythingAndStopsEvents() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    Other& o = tk::form<Other>();
    p.Show();
    o.Show();
    QPushButton* button = static_cast<QPushButton*>(p.Command1.widget());
    p.Timer1.setInterval(10);
    p.log.clear();
    tk::End();
    QVERIFY(tk::Runtime::instance().ended());
    QVERIFY(!p.Loaded());
    QVERIFY(!o.Loaded());
    QVERIFY(!p.log.contains(QStringLiteral("Form_Unload")));  // End runs no unload handlers
    QVERIFY(!button->isVisible());
    QVERIFY(!p.Timer1.running());
    testkit::settle();
    QVERIFY(p.log.isEmpty());
    p.Show();  // nothing loads after End
    QVERIFY(!p.Loaded());
}

void TestToolkit::errors_trappedSilentlyOrReported() {
    testkit::Session s;
    int steps = 0;
    tk::endOnError([&] {
        ++steps;
        throw qz::Error(qz::ErrNoCurrentRow, QStringLiteral("No current row."));
        ++steps;
    });
    QCOMPARE(steps, 1);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, tk::endOnError([] { throw std::logic_error("bug"); }));

    // An engine error that a handler does not trap is reported, not fatal.
    Other& o = tk::form<Other>();
    o.Show();
    o.failNext = true;
    o.Command1.click();
    const auto boxes = s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox);
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].style, int(tk::vbCritical));
    QCOMPARE(boxes[0].prompt, QStringLiteral("No current row."));
    QVERIFY(o.Loaded());
    // So is a fault of the program itself: told, never a silent abort.
    o.failNext = false;
    o.bugNext = true;
    o.Command1.click();
    QCOMPARE(s.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox), 2);
    QCOMPARE(s.dialogs.callsOf(tk::ScriptedDialogs::Kind::MsgBox)[1].prompt, QStringLiteral("index 7 out of range"));
    QVERIFY(o.Loaded());
}

void TestToolkit::twips_conversionAndCentring() {
    QCOMPARE(tk::twipsToPixels(1440, 96), 96);
    QCOMPARE(tk::twipsToPixels(375, 96), 25);
    QCOMPARE(tk::twipsToPixels(5070, 96), 338);
    QCOMPARE(tk::twipsToPixels(1440, 120), 120);
    QCOMPARE(tk::pixelsToTwips(96, 96), 1440.0);
    QCOMPARE(tk::centred(11520, 3765), 3877.5);
    QCOMPARE(tk::centred(100, 100), 0.0);

    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Load();
    p.centreOnScreen();
    const double expectTop = tk::centred(tk::Screen::Height(), p.Height());
    const double expectLeft = tk::centred(tk::Screen::Width(), p.Width());
    QVERIFY(std::abs(p.Top() - expectTop) <= tk::toTwipsY(1));
    QVERIFY(std::abs(p.Left() - expectLeft) <= tk::toTwipsX(1));
    // Controls keep their twips geometry within a pixel.
    QVERIFY(std::abs(p.Command1.Left() - 2640) <= tk::toTwipsX(1));
    QVERIFY(std::abs(p.Command1.Width() - 1335) <= tk::toTwipsX(1));
}

void TestToolkit::captions_accessKeyMarkers() {
    QCOMPARE(tk::plainCaption(QStringLiteral("Nega&ti&on")), QStringLiteral("Negation"));
    QCOMPARE(tk::accessKey(QStringLiteral("Nega&ti&on")), QChar(u't'));
    QCOMPARE(tk::plainCaption(QStringLiteral("Fish && chips")), QStringLiteral("Fish & chips"));
    QVERIFY(tk::accessKey(QStringLiteral("Fish && chips")).isNull());
    QVERIFY(tk::accessKey(QStringLiteral("Tasks:")).isNull());
    QCOMPARE(tk::plainCaption(QStringLiteral("trailing&")), QStringLiteral("trailing"));
    const QString rich = tk::labelRichText(QStringLiteral("&Delay... <x> && y"));
    QVERIFY(rich.contains(QStringLiteral("<u>D</u>elay...")));
    QVERIFY(rich.contains(QStringLiteral("&lt;x&gt; &amp; y")));
    QVERIFY(!rich.contains(QStringLiteral("&&")));

    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Load();
    auto* label = static_cast<QLabel*>(p.Label1.widget());
    QCOMPARE(label->textFormat(), Qt::RichText);
    QVERIFY(label->text().contains(QStringLiteral("<u>v</u>e &amp; quit")));
    p.Label1.setCaption(QStringLiteral("plain <b>"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), QStringLiteral("plain <b>"));
}

void TestToolkit::random_seededAndIndependent() {
    tk::fixRandomSeed(7);
    QList<float> first;
    for (int i = 0; i < 5; ++i) first << tk::Rnd();
    tk::fixRandomSeed(7);
    for (int i = 0; i < 5; ++i) QCOMPARE(tk::Rnd(), first[i]);

    // Re-seeding from the clock before every draw still gives independent
    // draws: consecutive values repeat no more often than chance allows.
    tk::unfixRandomSeed();
    int repeats = 0;
    std::set<int> seen;
    int previous = -1;
    for (int i = 0; i < 3000; ++i) {
        tk::Randomize();
        const float r = tk::Rnd();
        QVERIFY(r >= 0.0f && r < 1.0f);
        const int value = static_cast<int>(r * 3000) + 1;
        QVERIFY(value >= 1 && value <= 3000);
        if (value == previous) ++repeats;
        previous = value;
        seen.insert(value);
    }
    QVERIFY(repeats < 10);
    QVERIFY(seen.size() > 1500);
}

void TestToolkit::pointer_hourglassAndDefault() {
    testkit::Session s;
    Probe& p = tk::form<Probe>();
    p.Show();
    QCOMPARE(p.MousePointer(), tk::vbDefault);
    p.setMousePointer(tk::vbHourglass);
    QCOMPARE(p.window()->cursor().shape(), Qt::WaitCursor);
    p.setMousePointer(tk::vbDefault);
    QCOMPARE(p.window()->cursor().shape(), Qt::ArrowCursor);
    p.setMousePointer(tk::vbHourglass);
    p.Unload();
    p.Load();
    QCOMPARE(p.MousePointer(), tk::vbDefault);  // design state again
}

QTEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
