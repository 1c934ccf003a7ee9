#pragma once
// The launcher: choose an activity, change the working language, reorder the
// items, open the help windows, end the program.

#include "databind/datacontrol.h"

class Quizsp : public tk::Form {
public:
    Quizsp() : tk::Form(QStringLiteral("Quizsp")) {}

    tk::Frame Frame3D1{this, QStringLiteral("Frame3D1")};
    tk::Label activities{this, QStringLiteral("activities")};
    tk::OptionButton practice{this, QStringLiteral("practice")};
    tk::OptionButton test{this, QStringLiteral("test")};
    tk::OptionButton database{this, QStringLiteral("database")};
    tk::CommandButton ok{this, QStringLiteral("ok")};
    tk::CommandButton Exi{this, QStringLiteral("Exi")};
    tk::Label change{this, QStringLiteral("change")};
    tk::DataControl Data1{this, QStringLiteral("Data1")};
    tk::Menu mnuhelp{this, QStringLiteral("mnuhelp")};
    tk::Menu mnuworklang{this, QStringLiteral("mnuworklang")};
    tk::ControlArray<tk::Menu> worklang{this, QStringLiteral("worklang"), 4};
    tk::Menu mnuhow{this, QStringLiteral("mnuhow")};
    tk::Menu mnuabout{this, QStringLiteral("mnuabout")};

    void ok_Click();
    void Exi_Click();
    void change_Click();
    void worklang_Click(int Index);
    void mnuhow_Click();
    void mnuabout_Click();

protected:
    void design() override;
    void Form_Load() override;

private:
    void check();
    void language();
    // The bank could not be opened: says so again and tries once more.
    bool bankReady();
    void reportBankError(const qz::Error& e);
};
