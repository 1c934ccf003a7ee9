#include "form1.h"

#include "captions.h"
#include "quizsp.h"
#include "qz_test.h"
#include "winapi.h"

using namespace qz_test;

void Form1::design() {
    setClientSize(9630, 6015);
    setMinButton(false);
    setMaxButton(false);
    Command2.create(*this, 8040, 5400, 1335, 495, QStringLiteral("&Close")).onClick([this] { Command2_Click(); });
}

void Form1::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    // The window's name and title, as its caption table gives them.
    for (const auto& [control, caption] : i18n::captionsFor(i18n::kForm1Captions, LangBase, MsgTitle))
        if (control.isEmpty()) setCaption(caption);
    Command2.setCaption(text(4));
}

void Form1::Command2_Click() {
    tk::form<Quizsp>().Show();
    Unload();
}
