#include "app/form3.h"

#include "app/form3_texts.h"
#include "toolkit/winapi.h"

void Form3::design() {
    setClientSize(8295, 5475);
    setCaption(QStringLiteral("How to ..."));
    setMinButton(false);
    setMaxButton(false);
    const tk::Font help{QStringLiteral("Times New Roman"), 9.75};
    const QColor lightYellow = tk::RGB(255, 255, 192);
    Label1.create(*this, 120, 120, 8055, 2175, QString::fromUtf8(form3_texts::kPart1))
        .setWordWrap(true)
        .setBackColor(lightYellow)
        .setFont(help);
    Label2.create(*this, 120, 2280, 8055, 2535, QString::fromUtf8(form3_texts::kPart2))
        .setWordWrap(true)
        .setBackColor(lightYellow)
        .setFont(help);
    Command1.create(*this, 3360, 4920, 1335, 495, QStringLiteral("OK")).setDefault(true).onClick([this] {
        Command1_Click();
    });
}

void Form3::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
}

void Form3::Command1_Click() { Unload(); }
