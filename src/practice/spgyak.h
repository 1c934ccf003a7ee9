#pragma once
// The practice window: one item at a time, judged at once with a green or red
// bar, never scored. The learner walks the current selection of items in
// order (Next, First, Previous, Last) or draws items at random from the whole
// bank; the Settings menu chooses the selection by topic, level or starting
// point; the Tasks menu leaves for the launcher, the editor or the test.
//
// The window object lives for the whole run: SeqMode, StartCriteria,
// RecCount, RecPos and MaxSorszam keep their values across closing and
// reopening, while every control comes back in its load state.

#include <QString>
#include <cstdint>

#include "databind/fieldmap.h"
#include "itembank/database.h"
#include "toolkit/controls.h"
#include "toolkit/held.h"

class Spgyak : public tk::Form {
public:
    Spgyak();

    // Window fields.
    QString MsgTitle;
    QString StartCriteria;
    int SeqMode = 0;  // 1: Start runs in sequential mode
    long RecCount = 0;
    long RecPos = 0;
    std::int16_t MaxSorszam = 0;

    // What the window opens while loaded.
    tk::Held<db::Database> bank{this, QStringLiteral("The item bank")};
    tk::Held<db::Recordset> Sel{this, QStringLiteral("The item selection")};
    tk::Held<db::Database> randomBank{this, QStringLiteral("The item bank")};
    tk::Held<db::Recordset> RandomSet{this, QStringLiteral("The random item table")};

    // The item.
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

    // The choice.
    tk::Frame Frame3D1{this, QStringLiteral("Frame3D1")};
    tk::OptionButton Option3D2{this, QStringLiteral("Option3D2")};
    tk::OptionButton Option3D3{this, QStringLiteral("Option3D3")};
    tk::OptionButton Option3D4{this, QStringLiteral("Option3D4")};
    tk::OptionButton Option3D5{this, QStringLiteral("Option3D5")};
    tk::OptionButton Option3D1{this, QStringLiteral("Option3D1")};
    tk::Label Label5{this, QStringLiteral("Label5")};
    tk::Label Label6{this, QStringLiteral("Label6")};
    tk::Label Label7{this, QStringLiteral("Label7")};
    tk::Label Label8{this, QStringLiteral("Label8")};
    tk::Label Label9{this, QStringLiteral("Label9")};    // the letter chosen last
    tk::Label Label10{this, QStringLiteral("Label10")};  // the right letter
    tk::Label Label19{this, QStringLiteral("Label19")};  // green bar
    tk::Label Label20{this, QStringLiteral("Label20")};  // red bar

    // Solution and item details.
    tk::Label Label17{this, QStringLiteral("Label17")};
    tk::Label Label18{this, QStringLiteral("Label18")};
    tk::Label Label26{this, QStringLiteral("Label26")};
    tk::Label Label27{this, QStringLiteral("Label27")};
    tk::Label Label28{this, QStringLiteral("Label28")};
    tk::Label Label29{this, QStringLiteral("Label29")};
    tk::Label Label21{this, QStringLiteral("Label21")};
    tk::Label Label30{this, QStringLiteral("Label30")};
    tk::Label Label32{this, QStringLiteral("Label32")};
    tk::Label Label31{this, QStringLiteral("Label31")};
    tk::Label Label23{this, QStringLiteral("Label23")};
    tk::Label Label24{this, QStringLiteral("Label24")};
    tk::Label Label25{this, QStringLiteral("Label25")};

    tk::CommandButton Command3{this, QStringLiteral("Command3")};    // Start
    tk::CommandButton Command6{this, QStringLiteral("Command6")};    // Close
    tk::CommandButton Command1{this, QStringLiteral("Command1")};    // Solution
    tk::CommandButton Command2{this, QStringLiteral("Command2")};    // Next, sequential
    tk::CommandButton Command10{this, QStringLiteral("Command10")};  // Next, random
    tk::CommandButton Command5{this, QStringLiteral("Command5")};    // First
    tk::CommandButton Command7{this, QStringLiteral("Command7")};    // Previous
    tk::CommandButton Command8{this, QStringLiteral("Command8")};    // Next
    tk::CommandButton Command9{this, QStringLiteral("Command9")};    // Last

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
    tk::Menu mnuLevel{this, QStringLiteral("mnuLevel")};
    tk::ControlArray<tk::Menu> mnuNivelItem{this, QStringLiteral("mnuNivelItem"), 4};
    tk::Menu mnuTopic{this, QStringLiteral("mnuTopic")};
    tk::ControlArray<tk::Menu> mnuTopicItem{this, QStringLiteral("mnuTopicItem"), 22};
    tk::Menu mnustart{this, QStringLiteral("mnustart")};
    tk::ControlArray<tk::Menu> beg{this, QStringLiteral("beg"), 11};

    void Command3_Click();
    void Command1_Click();
    void Command2_Click();
    void Command10_Click();
    void Command5_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command6_Click();
    // Option3D2 to Option3D5 (Index 0 to 3: A to D), by mouse or key.
    void Option3D_Click(int Index);
    void Label24_Click();
    void Label28_Click();
    void mnuTopicItem_Click(int Index);
    void mnuNivelItem_Click(int Index);
    void beg_Click(int Index);
    void mnuNumeroItem_Click(int Index);
    void mnuTiempoItem_Click(int Index);
    void mnuQuizmora_Click();
    void mnuDatabase_Click();
    void mnuTest_Click();

protected:
    void design() override;
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;

private:
    void language();
    // Fills the item labels from the current row, reports the ends of the
    // selection, hides the solution and the bars.
    void so();
    // Fills the item labels from the current row of rs; throws without a row.
    void fillitem(db::Recordset& rs, bool withLevel = true);
    void szam();
    void oke();
    void keresa();
    void check();
    // Makes the selection of one criterion current and stands on its first
    // item; false (the selection stays, empty) when it holds no item.
    bool select(const QString& criterion);
    void noMatch();
    void hideFeedback();
    void newSelection(bool byLevel);
    void focusNext();
    void showPosition();
    tk::OptionButton& option(int index);

    tk::FieldMap spaced_;   // shown after one blank: sentence and options
    tk::FieldMap details_;  // right letter, solution, serial number
    tk::FieldMap level_;    // the level label
};
