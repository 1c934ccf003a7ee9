#include "app/quizsp.h"

#include "i18n/captions.h"
#include "app/qz_test.h"
#include "app/tasks.h"
#include "itembank/reorder.h"
#include "toolkit/random.h"
#include "toolkit/winapi.h"

using namespace qz_test;

void Quizsp::design() {
    setClientSize(5100, 5850);
    setBackColor(tk::RGB(128, 128, 128));
    setCaption(QStringLiteral("QUIZMORA HUNGARIAN"));
    setMinButton(false);
    setMaxButton(false);

    const tk::Font font{QStringLiteral("MS Sans Serif"), 9.75, true};
    Frame3D1.create(*this, 720, 360, 3615, 3750).setBackColor(tk::RGB(192, 192, 192));
    activities.create(Frame3D1, 360, 480, 915, 360, QStringLiteral("Tasks:"))
        .setFont({QStringLiteral("MS Sans Serif"), 9.75, false});
    practice.create(Frame3D1, 840, 960, 1740, 750, QStringLiteral("&Practice")).setFont(font);
    test.create(Frame3D1, 840, 1680, 2220, 750, QStringLiteral("&Test")).setFont(font);
    database.create(Frame3D1, 840, 2400, 1980, 750, QStringLiteral("&Database")).setFont(font);
    ok.create(*this, 840, 4200, 1575, 495, QStringLiteral("OK")).setFont(font).setDefault(true).onClick([this] {
        ok_Click();
    });
    Exi.create(*this, 2640, 4200, 1575, 495, QStringLiteral("END")).setFont(font).onClick([this] { Exi_Click(); });
    change.create(*this, 450, 4800, 4155, 540,
                  QStringLiteral("If you want to change the order of the sentences, click here and wait."))
        .setAlignment(tk::Align::Center)
        .setWordWrap(true)
        .setForeColor(tk::RGB(255, 255, 255))
        .setBackColor(tk::RGB(64, 64, 64))
        .onClick([this] { change_Click(); });
    // The view only carries the reorder; it is not for browsing.
    Data1.create(*this, 960, 5520, 3255, 390, QStringLiteral("Data1"))
        .setConnect(QStringLiteral("Access 2000;"))
        .setRecordSource(QStringLiteral("test1"))
        .setVisible(false);
    Data1.onError([this](const qz::Error& e) { reportBankError(e); });

    mnuhelp.createMenu(*this, QStringLiteral("&Help"));
    mnuworklang.createMenu(mnuhelp, QStringLiteral("&Working language"));
    const char* languages[] = {"&English", "&Magyar", "&Français", "E&spañol"};
    for (int i = 0; i < 4; ++i)
        worklang(i).createItem(mnuworklang, QString::fromUtf8(languages[i])).onClick([this, i] { worklang_Click(i); });
    worklang(0).setChecked(true);
    worklang(2).setEnabled(false);
    mnuhow.createItem(mnuhelp, QStringLiteral("How to ...")).onClick([this] { mnuhow_Click(); });
    mnuabout.createItem(mnuhelp, QStringLiteral("&About")).onClick([this] { mnuabout_Click(); });
}

void Quizsp::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    practice.setValue(true);
    language();
    setMousePointer(tk::vbDefault);
    tasks::unload(tasks::Language);
    DbPath = bankPath();
    Data1.setDatabaseName(DbPath);  // the view opens once loading has finished
}

void Quizsp::language() {
    QString unused;
    applyCaptions(i18n::captionsFor(i18n::kQuizspCaptions, LangBase, unused));
}

void Quizsp::check() {
    for (int i = 0; i < 4; ++i) worklang(i).setChecked(false);
}

bool Quizsp::bankReady() {
    if (Data1.isOpen()) return true;
    try {
        Data1.Refresh();
        return true;
    } catch (const qz::Error& e) {
        reportBankError(e);
        return false;
    }
}

void Quizsp::reportBankError(const qz::Error& e) { qz_test::reportBankError(e, Caption()); }

void Quizsp::ok_Click() {
    if (!bankReady()) return;
    if (practice.Value()) tasks::show(tasks::Practice);
    else if (test.Value()) tasks::show(tasks::Test);
    else if (database.Value()) tasks::show(tasks::Editor);
    Unload();
}

void Quizsp::Exi_Click() { tk::End(); }

void Quizsp::change_Click() {
    if (!bankReady()) return;
    setMousePointer(tk::vbHourglass);
    const auto outcome = itembank::reorderItems(*Data1.Database(), *Data1.Recordset(), [] {
        tk::Randomize();
        return tk::Rnd();
    });
    try {
        Data1.Refresh();  // a failed read leaves the view as it was
    } catch (const qz::Error&) {
    }
    setMousePointer(tk::vbDefault);
    if (!outcome.complete) {
        // Nothing was changed (the run was rolled back); say so, and why. An
        // earlier run's done message does not stay to claim otherwise.
        change.setCaption(text(74));
        tk::MsgBox(i18n::extraText(i18n::Extra::ReorderFailed, LangBase) + QStringLiteral("\n\n") +
                       bankErrorText(qz::Error(outcome.errorNumber, outcome.error)),
                   tk::vbCritical, Caption());
        return;
    }
    change.setCaption(QStringLiteral("The order of the sentences has been changed."));
}

void Quizsp::worklang_Click(int Index) {
    check();
    switch (Index) {
    case 0: LangBase = 16; break;
    case 1: LangBase = 116; break;
    case 3: LangBase = 216; break;
    default: break;
    }
    worklang(Index).setChecked(true);
    language();
}

void Quizsp::mnuhow_Click() { tasks::show(tasks::HowTo); }

void Quizsp::mnuabout_Click() { tasks::showAboutFromMenu(); }
