#include "app/sobre.h"

#include "app/about_info.h"
#include "i18n/captions.h"
#include "app/tasks.h"
#include "app/qz_test.h"
#include "toolkit/winapi.h"

using namespace qz_test;

void sobre::design() {
    setClientSize(6210, 3720);
    setBackColor(tk::RGB(0, 128, 128));
    setCaption(QStringLiteral("A b o u t"));
    setMinButton(false);
    setMaxButton(false);

    Panel3D1.create(*this, 240, 120, 5655, 2910).setBackColor(tk::RGB(192, 192, 192));
    Label1.create(Panel3D1, 840, 600, 2895, 495).setFont({QStringLiteral("MS Sans Serif"), 13.5, true});
    Label4.create(Panel3D1, 1680, 1560, 1815, 255, QString::fromUtf8(about_info::kPlaceAndYear));
    Label2.create(Panel3D1, 360, 1200, 3735, 375, QString::fromUtf8(about_info::kAuthor))
        .setBackColor(tk::RGB(192, 192, 192))
        .setAlignment(tk::Align::Center);
    Label3.create(Panel3D1, 840, 2040, 3765, 390).setWordWrap(true);
    Image2.create(Panel3D1, 4680, 2040, 480, 480)
        .setPicture(QPixmap(QStringLiteral(":/art/cd.xpm")))
        .setStretch(true)
        .setDescription(QStringLiteral("Mi ez?"))
        .onClick([this] { Image2_Click(); });
    Image1.create(Panel3D1, 4200, 240, 1095, 975).setStretch(true).setDescription(QStringLiteral("Quizmora Hungarian"));
    // The three animation frames live below the panel and are never shown.
    Image3.create(*this, 240, 3120, 480, 480).setPicture(QPixmap(QStringLiteral(":/art/emblem1.xpm"))).setVisible(false);
    Image4.create(*this, 840, 3120, 480, 480).setPicture(QPixmap(QStringLiteral(":/art/emblem2.xpm"))).setVisible(false);
    Image5.create(*this, 1440, 3120, 480, 480).setPicture(QPixmap(QStringLiteral(":/art/emblem3.xpm"))).setVisible(false);
    Command1.create(*this, 2400, 3120, 1455, 495, QStringLiteral("&OK"))
        .setVisible(false)
        .onClick([this] { Command1_Click(); });
    Timer1.create(*this, 30, true).onTimer([this] { Timer1_Timer(); });
    Timer2.create(*this, 300, true).onTimer([this] { Timer2_Timer(); });
}

void sobre::language() {
    QString unused;
    applyCaptions(i18n::captionsFor(i18n::kSobreCaptions, LangBase, unused));
}

void sobre::Form_Load() {
    centreOnScreen();
    setMousePointer(SplashDone == 1 ? tk::vbDefault : tk::vbHourglass);
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    language();
    showFrame(3);
}

void sobre::showFrame(int frame) {
    frame_ = frame;
    tk::Image& source = frame == 3 ? Image3 : frame == 4 ? Image4 : Image5;
    Image1.setPicture(source.Picture());
}

void sobre::Timer2_Timer() { showFrame(frame_ == 3 ? 4 : frame_ == 4 ? 5 : 3); }

void sobre::Timer1_Timer() {
    // The timer dies with the window, so it is stopped before the window goes
    // rather than after (touching it afterwards would load the window again).
    Timer1.setEnabled(false);
    tasks::show(tasks::Launcher);
    SplashDone = 1;
    Unload();
}

void sobre::ShowFromMenu() {
    SplashDone = 1;
    Show();
    Command1.setVisible(true);
    Timer1.setEnabled(false);
}

void sobre::Command1_Click() {
    tasks::show(tasks::Launcher);
    Unload();
}

void sobre::Form_Unload() { Timer1.setEnabled(false); }

QString sobre::aboutMessage() {
    return QString::fromUtf8(about_info::kAboutParagraph) + QStringLiteral("\r\n") +
           QString::fromUtf8(about_info::kAuthorLine) + QStringLiteral("\r\n") +
           QString::fromUtf8(about_info::kAddressLine) + QStringLiteral("\r\n") +
           QString::fromUtf8(about_info::kEmailLine);
}

void sobre::Image2_Click() { tk::MsgBox(aboutMessage(), tk::vbInformation, QStringLiteral("Mi ez?")); }
