#pragma once
// The About window: the start-up splash that hands over to the launcher, and
// the About box of the launcher's Help menu.

#include "toolkit/controls.h"

class sobre : public tk::Form {
public:
    sobre() : tk::Form(QStringLiteral("sobre")) {}

    tk::Panel Panel3D1{this, QStringLiteral("Panel3D1")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::Label Label4{this, QStringLiteral("Label4")};
    tk::Label Label2{this, QStringLiteral("Label2")};
    tk::Label Label3{this, QStringLiteral("Label3")};
    tk::Image Image2{this, QStringLiteral("Image2")};
    tk::Image Image1{this, QStringLiteral("Image1")};
    tk::Image Image3{this, QStringLiteral("Image3")};
    tk::Image Image4{this, QStringLiteral("Image4")};
    tk::Image Image5{this, QStringLiteral("Image5")};
    tk::CommandButton Command1{this, QStringLiteral("Command1")};
    tk::Timer Timer1{this, QStringLiteral("Timer1")};
    tk::Timer Timer2{this, QStringLiteral("Timer2")};

    void Timer1_Timer();
    void Timer2_Timer();
    void Command1_Click();
    void Image2_Click();

    // The animation frame on show: 3, 4 or 5 (Image3 to Image5).
    int frame() const { return frame_; }
    // The body of the "Mi ez?" message.
    static QString aboutMessage();
    // Opened from the launcher's Help menu: stays until OK, no hand-over.
    void ShowFromMenu();

protected:
    void design() override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void language();
    void showFrame(int frame);
    int frame_ = 3;
};
