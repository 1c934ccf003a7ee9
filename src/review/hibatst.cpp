#include "review/hibatst.h"

#include "app/qz_test.h"
#include "app/tasks.h"
#include "i18n/captions.h"
#include "toolkit/handler.h"
#include "toolkit/winapi.h"

using namespace qz_test;

void Hibatst::design() {
    setClientSize(9630, 6270);
    setMinButton(false);
    setMaxButton(false);
    setKeyPreview(true);

    const tk::Font itemFont{QStringLiteral("Times New Roman"), 12, true};
    const tk::Font textFont{QStringLiteral("MS Sans Serif"), 8.25, true};

    Data1.create(*this, 5040, 5760, 2775, 375, QStringLiteral("Data1"))
        .setConnect(QStringLiteral("Access 2000;"))
        .setRecordSource(QStringLiteral("hiba1"))
        .setVisible(false);
    Data1.onError([this](const qz::Error& e) {
        reportBankError(e, Caption());
        Unload();
    });

    // The navigation row at the top left, the position line at the top right.
    tk::CommandButton* row[] = {&Command2, &Command3, &Command5, &Command7};
    const char* rowCaptions[] = {"&First", "&Previous", "Ne&xt", "&Last"};
    for (int i = 0; i < 4; ++i)
        row[i]->create(*this, 120 + i * 1320, 120, 1275, 435, QString::fromLatin1(rowCaptions[i])).setFont(textFont)
            .setVisible(false);
    Command2.onClick([this] { Command2_Click(); });
    Command3.onClick([this] { Command3_Click(); });
    Command5.onClick([this] { Command5_Click(); });
    Command7.onClick([this] { Command7_Click(); });
    Label30.create(*this, 7920, 180, 600, 300).setFont(textFont).setAlignment(tk::Align::Right).setVisible(false);
    Label32.create(*this, 8550, 180, 150, 300, QStringLiteral("/")).setFont(textFont).setVisible(false);
    Label31.create(*this, 8730, 180, 600, 300).setFont(textFont).setVisible(false);

    // The item.
    Label22.create(*this, 120, 720, 480, 375).setFont(itemFont).setAlignment(tk::Align::Right).setVisible(false);
    Label11.create(*this, 600, 720, 180, 375, QStringLiteral(".")).setFont(itemFont).setVisible(false);
    Label13.create(*this, 840, 720, 8640, 855).setFont(itemFont).setWordWrap(true).setUseMnemonic(false)
        .setDataSource(Data1, QStringLiteral("mondat")).setVisible(false);
    tk::Label* letters[] = {&Label1, &Label2, &Label3, &Label4};
    tk::Label* choices[] = {&Label14, &Label12, &Label15, &Label16};
    const char* fields[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        const double left = i < 2 ? 240 : 4920;
        const double top = i % 2 == 0 ? 1680 : 2160;
        letters[i]->create(*this, left, top, 300, 375, optionLetter(i)).setFont(itemFont).setVisible(false);
        choices[i]->create(*this, left + 360, top, 4080, 375).setFont(itemFont).setUseMnemonic(false)
            .setDataSource(Data1, QString::fromLatin1(fields[i])).setVisible(false);
    }

    // Start in the middle, the main Next under the choices, the options below.
    Command1.create(*this, 4140, 1440, 1335, 495, QStringLiteral("&Start")).setFont(textFont).onClick([this] {
        Command1_Click();
    });
    Command4.create(*this, 4140, 2760, 1335, 435, QStringLiteral("&Next")).setFont(textFont).setVisible(false)
        .onClick([this] { Command4_Click(); });
    Frame3D1.create(*this, 2760, 3300, 4095, 735).setVisible(false);
    tk::Label* optionLetters[] = {&Label5, &Label6, &Label7, &Label8};
    for (int i = 0; i < 4; ++i) {
        option(i).create(Frame3D1, 300 + i * 960, 240, 300, 300).onClick([this, i] { Option3D_Click(i); });
        option(i).widget()->setAccessibleName(optionLetter(i));
        optionLetters[i]->create(Frame3D1, 620 + i * 960, 285, 300, 300, optionLetter(i)).setFont(textFont);
    }
    Option3D5.create(Frame3D1, 3900, 240, 150, 300).setVisible(false);

    // Left: the feedback box, the guess, the solution.
    Label17.create(*this, 240, 3420, 615, 375).setBackColor(tk::RGB(0, 255, 0)).setVisible(false);
    Label18.create(*this, 240, 3420, 615, 375).setBackColor(tk::RGB(255, 0, 0)).setVisible(false);
    Label21.create(*this, 240, 3960, 1935, 300, QStringLiteral("Your guess was:")).setFont(textFont).setVisible(false);
    Label23.create(*this, 2220, 3960, 375, 300).setFont(textFont).setDataSource(Data1, QStringLiteral("hiba"))
        .setVisible(false);
    Command8.create(*this, 240, 4440, 1335, 435, QStringLiteral("S&olution")).setFont(textFont).setVisible(false)
        .onClick([this] { Command8_Click(); });
    Label19.create(*this, 1680, 4500, 375, 300).setFont(textFont).setDataSource(Data1, QStringLiteral("felelet2"))
        .setVisible(false);
    Label20.create(*this, 240, 4980, 7440, 1095).setFont(textFont).setWordWrap(true).setUseMnemonic(false)
        .setBackColor(tk::RGB(255, 255, 192)).setDataSource(Data1, QStringLiteral("felelet1")).setVisible(false);
    Label9.create(*this, 7920, 4440, 375, 255).setVisible(false);
    Label10.create(*this, 8280, 4440, 375, 255).setDataSource(Data1, QStringLiteral("felelet2")).setVisible(false);

    Command6.create(*this, 8040, 5640, 1335, 435, QStringLiteral("&Close")).setFont(textFont).onClick([this] {
        Command6_Click();
    });
}

tk::OptionButton& Hibatst::option(int i) {
    tk::OptionButton* options[] = {&Option3D1, &Option3D2, &Option3D3, &Option3D4};
    return *options[i];
}

void Hibatst::Form_Load() {
    centreOnScreen();
    language();
    MsgTitle = text(66);
    started_ = false;
    Data1.setDatabaseName(DbPath);  // the list opens once loading has finished
}

void Hibatst::language() { applyCaptions(i18n::captionsFor(i18n::kHibatstCaptions, LangBase, MsgTitle)); }

void Hibatst::abso() { Label30.setCaption(QString::number(Data1.Recordset()->AbsolutePosition())); }

void Hibatst::Command1_Click() {
    tk::endOnError([&] {
        Command1.setVisible(false);
        Command2.setVisible(true);
        Command2.SetFocus();
        Command2.setDefault(true);
        for (tk::CommandButton* b : {&Command3, &Command4, &Command5, &Command6, &Command7, &Command8})
            b->setVisible(true);
        Frame3D1.setVisible(true);
        for (tk::Label* l : {&Label12, &Label13, &Label14, &Label15, &Label16, &Label1, &Label2, &Label3, &Label4,
                             &Label11, &Label21, &Label22, &Label23})
            l->setVisible(true);
        hideFeedback();
        Option3D5.setValue(true);
        // The list afresh: failed items appended since the window loaded are in it.
        Data1.Refresh();
        started_ = true;
        auto rs = Data1.Recordset();
        rs->MoveLast();
        RecCount = rs->RecordCount();
        rs->MoveFirst();
        rs->MoveNext();  // past the placeholder row
        ShownNo = 1;
        Label22.setCaption(QString::number(ShownNo));
        Label31.setCaption(QString::number(RecCount - 1));
        for (tk::Label* l : {&Label30, &Label31, &Label32}) l->setVisible(true);
        abso();
    });
}

void Hibatst::Command4_Click() {
    tk::endOnError([&] {
        auto rs = Data1.Recordset();
        if (!rs->isEOF()) rs->MoveNext();
        if (rs->isEOF()) {
            tk::MsgBox(text(84), tk::vbInformation, MsgTitle);
            Frame3D1.setVisible(false);
            Command1.setCaption(text(3));
            Command1.setVisible(true);
            Command2.setDefault(false);
            for (tk::CommandButton* b : {&Command2, &Command3, &Command4, &Command5, &Command7, &Command8})
                b->setVisible(false);
            for (tk::Label* l : {&Label12, &Label13, &Label14, &Label15, &Label16, &Label17, &Label18, &Label19,
                                 &Label20, &Label21, &Label23, &Label1, &Label2, &Label3, &Label4, &Label11, &Label22})
                l->setVisible(false);
        } else {
            Option3D5.setValue(true);
            ++ShownNo;
            Label22.setCaption(QString::number(ShownNo));
            hideFeedback();
        }
        abso();
    });
}

// The navigation row stops at the first and the last failed item: never on
// the placeholder row (position 0), never past the end.
void Hibatst::Command2_Click() { toEnd(false); }

void Hibatst::Command3_Click() {
    tk::endOnError([&] {
        auto rs = Data1.Recordset();
        if (rs->AbsolutePosition() <= 1) return;
        rs->MovePrevious();
        navigated();
    });
}

void Hibatst::Command5_Click() {
    tk::endOnError([&] {
        auto rs = Data1.Recordset();
        const long pos = rs->AbsolutePosition();
        if (pos < 1 || pos >= rs->RecordCount() - 1) return;
        rs->MoveNext();
        navigated();
    });
}

void Hibatst::Command7_Click() { toEnd(true); }

// First or Last: nothing to go to while the list holds only the placeholder row.
void Hibatst::toEnd(bool last) {
    tk::endOnError([&] {
        auto rs = Data1.Recordset();
        if (rs->RecordCount() < 2) return;
        if (last) {
            rs->MoveLast();
        } else {
            rs->MoveFirst();
            rs->MoveNext();
        }
        navigated();
    });
}

void Hibatst::hideFeedback() {
    for (tk::Label* l : {&Label17, &Label18, &Label19, &Label20}) l->setVisible(false);
}

void Hibatst::navigated() {
    Label17.setVisible(false);
    Label18.setVisible(false);
    Option3D5.setValue(true);
    Command2.SetFocus();
    abso();
}

void Hibatst::Command8_Click() {
    Label19.setVisible(true);
    Label20.setVisible(true);
    Command2.SetFocus();
}

void Hibatst::Option3D_Click(int Index) {
    Label9.setCaption(optionLetter(Index));
    const bool right = Label9.Caption() == Label10.Caption();
    Label17.setVisible(right);
    Label18.setVisible(!right);
}

void Hibatst::Form_KeyPress(int& KeyAscii) {
    if (!Frame3D1.Visible()) return;  // no item to pick for
    if (const int i = tk::letterIndex(KeyAscii, 'a', 4); i >= 0) option(i).setValue(true);
}

void Hibatst::deleteFailed() {
    if (!started_ || !Data1.isOpen()) return;
    auto rs = Data1.Recordset();
    if (rs->RecordCount() == 0) return;
    db::Transaction transaction(*Data1.Database());
    rs->MoveFirst();  // the placeholder row stays
    while (!rs->isEOF()) {
        rs->MoveNext();
        if (!rs->isEOF()) rs->Delete();
    }
    transaction.commit();
    started_ = false;
}

void Hibatst::Command6_Click() {
    tk::endOnError([&] {
        deleteFailed();
        if (tk::Form* test = tasks::existing(tasks::Test); test && test->Loaded())
            tk::SetWindowPos(test->hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
        Unload();
    });
}

void Hibatst::Form_Unload() {
    tk::endOnError([&] { deleteFailed(); });
}
