#include "app/lang.h"

#include "app/qz_test.h"
#include "app/tasks.h"
#include "toolkit/winapi.h"

using namespace qz_test;

void lang::design() {
    setClientSize(5070, 3765);
    setBorder(tk::Border::Fixed);
    setMinButton(false);
    setMaxButton(false);
    setBackColor(tk::RGB(128, 128, 128));
    setCaption(QStringLiteral("Quizmora Hungarian"));

    const QColor white = tk::RGB(255, 255, 255);
    const QColor grey = tk::RGB(128, 128, 128);
    const tk::Font bold{QStringLiteral("MS Sans Serif"), 9.75, true};
    const tk::Font regular{QStringLiteral("MS Sans Serif"), 9.75, false};

    Image1.create(*this, 120, 0, 855, 735)
        .setPicture(QPixmap(QStringLiteral(":/art/flag_emblem.xpm")))
        .setStretch(true)
        .setDescription(QStringLiteral("Hungarian flag"));
    Label3.create(*this, 1800, 360, 1710, 285, QStringLiteral("Welcome to"))
        .setAlignment(tk::Align::Center)
        .setForeColor(white)
        .setBackColor(grey)
        .setFont(bold);
    Label1.create(*this, 1200, 600, 2790, 285, QStringLiteral("QUIZMORA HUNGARIAN"))
        .setAlignment(tk::Align::Center)
        .setForeColor(white)
        .setBackColor(grey)
        .setFont(bold);
    Label2.create(*this, 240, 1080, 4575, 2175, QStringLiteral("Please select the working language:"))
        .setForeColor(white)
        .setBackColor(grey)
        .setFont(regular);

    struct Choice {
        tk::CommandButton& button;
        const char* caption;
        double left, top;
        bool enabled;
    };
    const Choice choices[] = {
        {Command1, "&English", 840, 480, true},   {Command2, "&Français", 840, 960, false},
        {Command3, "&Deutsch", 840, 1440, false}, {Command5, "E&spañol", 3000, 480, true},
        {Command4, "&Italiano", 3000, 960, false}, {Command6, "&Magyar", 3000, 1440, true},
    };
    for (const Choice& c : choices)
        c.button.create(Label2, c.left, c.top, 1335, 375, QString::fromUtf8(c.caption)).setFont(bold).setEnabled(c.enabled);
    Command5.setFont({QStringLiteral("Arial"), 9.75, true});

    Command1.onClick([this] { Command1_Click(); });
    Command5.onClick([this] { Command5_Click(); });
    Command6.onClick([this] { Command6_Click(); });

    // Flags beside the buttons: English, Français, Deutsch, Italiano, Español, Magyar.
    struct Flag {
        const char* file;
        const char* description;
        double left, top;
    };
    const Flag flags[] = {
        {"flag_gb", "United Kingdom flag", 360, 480},  {"flag_fr", "French flag", 360, 960},
        {"flag_de", "German flag", 360, 1440},         {"flag_it", "Italian flag", 2520, 960},
        {"flag_es", "Spanish flag", 2520, 480},        {"flag_hu", "Hungarian flag", 2520, 1440},
    };
    for (int i = 0; i < 6; ++i) {
        const Flag& f = flags[i];
        Image(i).create(Label2, f.left, f.top, 375, 375)
            .setPicture(QPixmap(QStringLiteral(":/art/%1.xpm").arg(QLatin1String(f.file))))
            .setStretch(true)
            .setDescription(QLatin1String(f.description));
    }
}

void lang::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    tasks::show(tasks::Background);
}

void lang::Command1_Click() {
    LangBase = 16;
    ki();
}

void lang::Command5_Click() {
    LangBase = 216;
    ki();
}

void lang::Command6_Click() {
    LangBase = 116;
    ki();
}

void lang::ki() {
    setMousePointer(tk::vbHourglass);
    tasks::show(tasks::About);
}
