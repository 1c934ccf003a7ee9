#pragma once
// The editor window. So far it only opens in the working language and leads
// back to the launcher; its activity is still to come.

#include "controls.h"

class Form1 : public tk::Form {
public:
    Form1() : tk::Form(QStringLiteral("Form1")) {}

    tk::CommandButton Command2{this, QStringLiteral("Command2")};
    QString MsgTitle;

    void Command2_Click();

protected:
    void design() override;
    void Form_Load() override;
};
