#pragma once
// The failed-items review: the items failed in the tests since the last
// review, each with the learner's guess; a letter can be picked again and is
// answered with a green or a red box; the solution on request. Closing the
// window deletes the failed items it showed.

#include "databind/datacontrol.h"

class Hibatst : public tk::Form {
public:
    Hibatst() : tk::Form(QStringLiteral("Hibatst")) {}

    QString MsgTitle;
    long RecCount = 0;

    tk::DataControl Data1{this, QStringLiteral("Data1")};
    tk::CommandButton Command1{this, QStringLiteral("Command1")};
    tk::CommandButton Command2{this, QStringLiteral("Command2")};
    tk::CommandButton Command3{this, QStringLiteral("Command3")};
    tk::CommandButton Command5{this, QStringLiteral("Command5")};
    tk::CommandButton Command7{this, QStringLiteral("Command7")};
    tk::CommandButton Command4{this, QStringLiteral("Command4")};
    tk::CommandButton Command8{this, QStringLiteral("Command8")};
    tk::CommandButton Command6{this, QStringLiteral("Command6")};
    tk::Frame Frame3D1{this, QStringLiteral("Frame3D1")};
    tk::OptionButton Option3D1{this, QStringLiteral("Option3D1")};
    tk::OptionButton Option3D2{this, QStringLiteral("Option3D2")};
    tk::OptionButton Option3D3{this, QStringLiteral("Option3D3")};
    tk::OptionButton Option3D4{this, QStringLiteral("Option3D4")};
    tk::OptionButton Option3D5{this, QStringLiteral("Option3D5")};
    tk::Label Label5{this, QStringLiteral("Label5")};
    tk::Label Label6{this, QStringLiteral("Label6")};
    tk::Label Label7{this, QStringLiteral("Label7")};
    tk::Label Label8{this, QStringLiteral("Label8")};
    tk::Label Label30{this, QStringLiteral("Label30")};
    tk::Label Label32{this, QStringLiteral("Label32")};
    tk::Label Label31{this, QStringLiteral("Label31")};
    tk::Label Label22{this, QStringLiteral("Label22")};
    tk::Label Label11{this, QStringLiteral("Label11")};
    tk::Label Label13{this, QStringLiteral("Label13")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::Label Label2{this, QStringLiteral("Label2")};
    tk::Label Label3{this, QStringLiteral("Label3")};
    tk::Label Label4{this, QStringLiteral("Label4")};
    tk::Label Label14{this, QStringLiteral("Label14")};
    tk::Label Label12{this, QStringLiteral("Label12")};
    tk::Label Label15{this, QStringLiteral("Label15")};
    tk::Label Label16{this, QStringLiteral("Label16")};
    tk::Label Label21{this, QStringLiteral("Label21")};
    tk::Label Label23{this, QStringLiteral("Label23")};
    tk::Label Label17{this, QStringLiteral("Label17")};
    tk::Label Label18{this, QStringLiteral("Label18")};
    tk::Label Label19{this, QStringLiteral("Label19")};
    tk::Label Label20{this, QStringLiteral("Label20")};
    tk::Label Label9{this, QStringLiteral("Label9")};
    tk::Label Label10{this, QStringLiteral("Label10")};

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Option3D_Click(int Index);  // Option3D1 to Option3D4: Index 0 to 3

protected:
    void design() override;
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyPress(int& KeyAscii) override;

private:
    void language();
    void abso();
    // The tail shared by the four buttons of the navigation row.
    void navigated();
    void toEnd(bool last);
    // The verdict boxes and the solution, hidden for a new item.
    void hideFeedback();
    // Deletes the failed items read by the last Start, all in one go.
    void deleteFailed();
    tk::OptionButton& option(int i);

    // Start has read the list since the window loaded: its rows were put
    // before the learner and are deleted when the window goes.
    bool started_ = false;
};
