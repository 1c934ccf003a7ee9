#pragma once
// The working-language window: the first window of every run.

#include "toolkit/controls.h"

class lang : public tk::Form {
public:
    lang() : tk::Form(QStringLiteral("lang")) {}

    tk::Image Image1{this, QStringLiteral("Image1")};
    tk::Label Label3{this, QStringLiteral("Label3")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::Frame Label2{this, QStringLiteral("Label2")};
    tk::CommandButton Command1{this, QStringLiteral("Command1")};
    tk::CommandButton Command2{this, QStringLiteral("Command2")};
    tk::CommandButton Command3{this, QStringLiteral("Command3")};
    tk::CommandButton Command5{this, QStringLiteral("Command5")};
    tk::CommandButton Command4{this, QStringLiteral("Command4")};
    tk::CommandButton Command6{this, QStringLiteral("Command6")};
    tk::ControlArray<tk::Image> Image{this, QStringLiteral("Image"), 6};

    void Command1_Click();  // English
    void Command5_Click();  // Español
    void Command6_Click();  // Magyar

protected:
    void design() override;
    void Form_Load() override;

private:
    void ki();
};
