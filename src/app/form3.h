#pragma once
// The How-to window: how the trainer is used, in Hungarian.

#include "toolkit/controls.h"

class Form3 : public tk::Form {
public:
    Form3() : tk::Form(QStringLiteral("Form3")) {}

    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::Label Label2{this, QStringLiteral("Label2")};
    tk::CommandButton Command1{this, QStringLiteral("Command1")};

    void Command1_Click();

protected:
    void design() override;
    void Form_Load() override;
};
