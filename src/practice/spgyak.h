#pragma once
// The practice window. So far it only opens in the working language and leads
// back to the launcher; its activity is still to come.

#include "controls.h"

class Spgyak : public tk::Form {
public:
    Spgyak() : tk::Form(QStringLiteral("Spgyak")) {}

    tk::CommandButton Command6{this, QStringLiteral("Command6")};
    QString MsgTitle;

    void Command6_Click();

protected:
    void design() override;
    void Form_Load() override;
};
