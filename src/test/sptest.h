#pragma once
// The test window: a run of items, sequential from a starting point, drawn at
// random, or timed; every item is scored when it is left, every failed item
// is appended to hiba1, and the evaluation shows the score with a link to the
// failed-items review.

#include <cstdint>

#include "databind/datacontrol.h"
#include "databind/fieldmap.h"
#include "toolkit/held.h"

class Sptest : public tk::Form {
public:
    Sptest() : tk::Form(QStringLiteral("Sptest")) {}

    QString MsgTitle;

    // Window variables: they keep their values while the window is unloaded.
    QString StartCriteria;
    int StartChosen = 0;
    std::int16_t MaxSorszam = 0;

    tk::DataControl Data1{this, QStringLiteral("Data1")};
    tk::DataControl Data2{this, QStringLiteral("Data2")};
    tk::Timer Timer1{this, QStringLiteral("Timer1")};
    tk::CommandButton Command3{this, QStringLiteral("Command3")};
    tk::CommandButton Command2{this, QStringLiteral("Command2")};
    tk::CommandButton Command4{this, QStringLiteral("Command4")};
    tk::CommandButton Command5{this, QStringLiteral("Command5")};
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
    tk::Frame Frame3D2{this, QStringLiteral("Frame3D2")};
    tk::Label Label18{this, QStringLiteral("Label18")};
    tk::Label Label21{this, QStringLiteral("Label21")};
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
    tk::Label Label9{this, QStringLiteral("Label9")};
    tk::Label Label10{this, QStringLiteral("Label10")};
    tk::Label Label19{this, QStringLiteral("Label19")};
    tk::Label Label25{this, QStringLiteral("Label25")};
    tk::Label Label20{this, QStringLiteral("Label20")};
    tk::Label Label23{this, QStringLiteral("Label23")};
    tk::Label Label17{this, QStringLiteral("Label17")};

    tk::Menu mnuTasks{this, QStringLiteral("mnuTasks")};
    tk::Menu mnuQuizmora{this, QStringLiteral("mnuQuizmora")};
    tk::Menu mnuDatabase{this, QStringLiteral("mnuDatabase")};
    tk::Menu mnuPractice{this, QStringLiteral("mnuPractice")};
    tk::Menu mnuTest{this, QStringLiteral("mnuTest")};
    tk::Menu mnuSettings{this, QStringLiteral("mnuSettings")};
    tk::Menu mnuParameters{this, QStringLiteral("mnuParameters")};
    tk::Menu mnuNumber{this, QStringLiteral("mnuNumber")};
    tk::ControlArray<tk::Menu> mnuNumeroItem{this, QStringLiteral("mnuNúmeroItem"), 4};
    tk::Menu mnuDelay{this, QStringLiteral("mnuDelay")};
    tk::ControlArray<tk::Menu> mnuTiempoItem{this, QStringLiteral("mnuTiempoItem"), 3};
    tk::Menu mnuStart{this, QStringLiteral("mnuStart")};
    tk::ControlArray<tk::Menu> beg{this, QStringLiteral("beg"), 11};

    void Command3_Click();
    void Command2_Click();
    void Command4_Click();
    void Timer1_Timer();
    void Command5_Click();
    void Label17_Click();
    void Command6_Click();
    void Option3D_Click(int Index);  // Option3D1 to Option3D4: Index 0 to 3
    void mnuNumeroItem_Click(int Index);
    void mnuTiempoItem_Click(int Index);
    void beg_Click(int Index);
    void mnuQuizmora_Click();
    void mnuDatabase_Click();
    void mnuPractice_Click();

    // Whether a run goes on (from Start until its evaluation).
    bool running() const { return running_; }

protected:
    void design() override;
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;

private:
    void language();
    void keresa();
    void cont();
    void setf();
    void showItem(bool shown);
    void tally();
    void recordFailed();
    void evalu();
    bool endIfLast();
    // The steps shared by the sequential Next and the timer tick.
    void advanceBound();
    // The settings in force (set here or by the practice window) on the labels.
    void showSettings();
    tk::OptionButton& option(int i);

    // The open table handle of the last random advance.
    tk::Held<db::Recordset> RandomSet{this, QStringLiteral("RandomSet")};
    // The item texts and the right letter, filled from the bound view or from
    // a drawn record.
    tk::FieldMap items_;
    tk::FieldMap answer_;
    bool randomShown_ = false;  // the shown item was drawn (its record is RandomSet's)
    bool scored_ = false;       // the shown item has been scored already
    bool running_ = false;
};
