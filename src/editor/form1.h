#pragma once
// The item-bank editor: browse every item, search with a typed condition, add,
// delete and change items in place, file an item under a topic, choose fonts.
// Edits typed into the shown item are stored when the view moves, is updated,
// or the editor is left.

#include <cstdint>

#include "app/tasks.h"
#include "databind/datacontrol.h"
#include "itembank/recordset.h"
#include "toolkit/dialogs.h"
#include "toolkit/held.h"

class Form1 : public tk::Form {
public:
    Form1() : tk::Form(QStringLiteral("Form1")) {}

    QString MsgTitle;
    // The condition last typed into the Find first box; Find next reuses it.
    QString SearchCriteria;
    // 1 from New until the begun item is stored or the view moves.
    std::int16_t NewPending = 0;
    // The table handle on test1 opened by Start (index "sorszam").
    tk::Held<db::Recordset> SerialTable{this, QStringLiteral("SerialTable")};

    // The font dialog: flags passed in, the last choice kept for the next use.
    struct FontDialog {
        int Flags = 0;
        tk::FontChoice font;
    } CMDialog1;

    tk::CommandButton Command10{this, QStringLiteral("Command10")};
    tk::CommandButton Command1{this, QStringLiteral("Command1")};
    tk::CommandButton Command2{this, QStringLiteral("Command2")};
    tk::CommandButton Command3{this, QStringLiteral("Command3")};
    tk::CommandButton Command4{this, QStringLiteral("Command4")};
    tk::CommandButton Command5{this, QStringLiteral("Command5")};
    tk::CommandButton Command6{this, QStringLiteral("Command6")};
    tk::CommandButton Command7{this, QStringLiteral("Command7")};
    tk::CommandButton Command8{this, QStringLiteral("Command8")};
    tk::CommandButton Command11{this, QStringLiteral("Command11")};
    tk::TextBox Text1{this, QStringLiteral("Text1")};
    tk::TextBox Text2{this, QStringLiteral("Text2")};
    tk::TextBox Text3{this, QStringLiteral("Text3")};
    tk::TextBox Text4{this, QStringLiteral("Text4")};
    tk::TextBox Text5{this, QStringLiteral("Text5")};
    tk::TextBox Text6{this, QStringLiteral("Text6")};
    tk::TextBox Text7{this, QStringLiteral("Text7")};
    tk::TextBox Text8{this, QStringLiteral("Text8")};
    tk::TextBox Text9{this, QStringLiteral("Text9")};
    tk::TextBox Text10{this, QStringLiteral("Text10")};
    tk::TextBox Text11{this, QStringLiteral("Text11")};
    tk::Label Label1{this, QStringLiteral("Label1")};
    tk::Label Label2{this, QStringLiteral("Label2")};
    tk::Label Label3{this, QStringLiteral("Label3")};
    tk::Label Label4{this, QStringLiteral("Label4")};
    tk::Label Label5{this, QStringLiteral("Label5")};
    tk::Label Label6{this, QStringLiteral("Label6")};
    tk::Label Label7{this, QStringLiteral("Label7")};
    tk::Label Label8{this, QStringLiteral("Label8")};
    tk::Label Label9{this, QStringLiteral("Label9")};
    tk::Label Label10{this, QStringLiteral("Label10")};
    tk::Label Label11{this, QStringLiteral("Label11")};
    tk::DataControl Data1{this, QStringLiteral("Data1")};

    tk::Menu mnuTasks{this, QStringLiteral("mnuTasks")};
    tk::Menu mnuQuizmora{this, QStringLiteral("mnuQuizmora")};
    tk::Menu mnuDatabase{this, QStringLiteral("mnuDatabase")};
    tk::Menu mnuPractice{this, QStringLiteral("mnuPractice")};
    tk::Menu mnuTest{this, QStringLiteral("mnuTest")};
    tk::Menu mnuOptions{this, QStringLiteral("mnuOptions")};
    tk::Menu mnuFonts{this, QStringLiteral("mnuFonts")};
    tk::Menu mnutopic{this, QStringLiteral("mnutopic")};
    tk::ControlArray<tk::Menu> mnutopicItem{this, QStringLiteral("mnutopicItem"), 22};

    void Command10_Click();  // Start
    void Command1_Click();   // New
    void Command2_Click();   // Close
    void Command3_Click();   // Previous
    void Command4_Click();   // Delete
    void Command5_Click();   // Find first
    void Command6_Click();   // First
    void Command7_Click();   // Next
    void Command8_Click();   // Last
    void Command11_Click();  // Find next
    void mnuQuizmora_Click();
    void mnuPractice_Click();
    void mnuTest_Click();
    void mnuFonts_Click();
    void mnutopicItem_Click(int Index);

protected:
    void design() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel) override;

private:
    void language();
    // The topic line: the caption of the topic whose editor pair the current
    // item carries, or nothing.
    void data();
    // Runs a handler body that ends silently at the first failing call; a
    // serial number that another item already has is refused aloud instead.
    template <class Body>
    bool run(Body&& body);
    // Stores what is shown (the index back to "sorrend", the view refreshed)
    // before the editor is left; false when it could not be stored (a
    // failure other than a taken serial number is thrown on unless silent).
    bool storeBeforeLeaving(bool silent);
    void storeShown();
    // Leaves the editor for another window; silent: a failure ends quietly.
    void leaveFor(tasks::Window w, bool silent);
    // A serial number that another item has: refused aloud, typing kept.
    void reportDuplicate();
    void storePending(db::Recordset& rs, bool makeCurrent);
    void browse(void (db::Recordset::*move)(), bool backwards);

    bool leaving_ = false;
};
