#include "quizsp.h"

#include "captions.h"
#include "form1.h"
#include "form3.h"
#include "lang.h"
#include "qz_test.h"
#include "random.h"
#include "sobre.h"
#include "spgyak.h"
#include "sptest.h"
#include "winapi.h"

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
    if (auto* l = tk::Runtime::instance().existing<lang>()) l->Unload();
    DbPath = AppDir() + QStringLiteral("qz_data.mdb");
    Data1.setDatabaseName(DbPath);  // the view opens once loading has finished
}

void Quizsp::language() {
    QString unused;
    i18n::applyCaptions(*this, i18n::kQuizspCaptions, LangBase, unused);
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

void Quizsp::reportBankError(const qz::Error& e) {
    tk::MsgBox(i18n::extraText(i18n::Extra::BankCannotBeOpened, LangBase) + QStringLiteral("\n\n") + e.message(),
               tk::vbCritical, Caption());
}

void Quizsp::ok_Click() {
    if (!bankReady()) return;
    if (practice.Value()) tk::form<Spgyak>().Show();
    else if (test.Value()) tk::form<Sptest>().Show();
    else if (database.Value()) tk::form<Form1>().Show();
    Unload();
}

void Quizsp::Exi_Click() { tk::End(); }

void Quizsp::change_Click() {
    if (!bankReady()) return;
    setMousePointer(tk::vbHourglass);
    auto rs = Data1.Recordset();
    bool stopped = false;
    {
        // One transaction for every row; each row's store can still fail on
        // its own, and the rows stored before a failure are kept.
        db::Transaction tx(*Data1.Database());
        if (rs->RecordCount() > 0) rs->MoveFirst();
        while (!rs->isEOF() && !stopped) {
            tk::Randomize();
            const auto drawn = static_cast<std::int16_t>(static_cast<int>(tk::Rnd() * 3000.0f) + 1);
            auto value = drawn;
            for (int attempt = 0;; ++attempt) {
                try {
                    rs->Edit();
                    rs->Fields(QStringLiteral("sorrend2")) = int(value);
                    rs->Update();
                    break;
                } catch (const qz::Error& e) {
                    rs->CancelUpdate();
                    // Another value cannot help a bank that cannot be written.
                    const bool hopeless = e.number() == qz::ErrReadOnly || e.number() == qz::ErrLocked;
                    value = static_cast<std::int16_t>(drawn < 1500 ? value + 1 : value - 1);
                    if (hopeless || attempt + 1 >= kMaxRetries || value < 1 || value > 3000) {
                        stopped = true;
                        break;
                    }
                }
            }
            if (!stopped) rs->MoveNext();
        }
        try {
            tx.commit();
        } catch (const qz::Error&) {
            stopped = true;
        }
    }
    try {
        Data1.Refresh();
    } catch (const qz::Error&) {
        stopped = true;
    }
    setMousePointer(tk::vbDefault);
    if (stopped) {
        tk::MsgBox(i18n::extraText(i18n::Extra::ReorderFailed, LangBase) + QStringLiteral("\n\n") + DbPath, tk::vbCritical,
                   Caption());
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

void Quizsp::mnuhow_Click() { tk::form<Form3>().Show(); }

void Quizsp::mnuabout_Click() {
    SplashDone = 1;
    sobre& about = tk::form<sobre>();
    about.Show();
    about.Command1.setVisible(true);
    about.Timer1.setEnabled(false);
}
