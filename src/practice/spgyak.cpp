#include "practice/spgyak.h"

#include "app/qz_test.h"
#include "app/tasks.h"
#include "i18n/captions.h"
#include "i18n/texts.h"
#include "itembank/recordset.h"
#include "itembank/selection.h"
#include "toolkit/handler.h"
#include "toolkit/random.h"
#include "toolkit/winapi.h"

using namespace qz_test;

namespace {

const tk::Font kItemFont{QStringLiteral("Times New Roman"), 12, true};
const tk::Font kTextFont{QStringLiteral("MS Sans Serif"), 9.75, true};
const QColor kBack = tk::RGB(0, 192, 192);

}  // namespace

Spgyak::Spgyak() : tk::Form(QStringLiteral("Spgyak")) {
    spaced_.add(Label13, QStringLiteral("mondat"))
        .add(Label14, QStringLiteral("a"))
        .add(Label12, QStringLiteral("b"))
        .add(Label15, QStringLiteral("c"))
        .add(Label16, QStringLiteral("d"));
    details_.add(Label10, QStringLiteral("felelet2"))
        .add(Label18, QStringLiteral("felelet2"))
        .add(Label17, QStringLiteral("felelet1"))
        .add(Label26, QStringLiteral("sorszam"));
    level_.add(Label27, QStringLiteral("szint"));
}

void Spgyak::design() {
    setClientSize(9630, 6015);
    setBackColor(kBack);
    setMinButton(false);
    setMaxButton(false);
    setKeyPreview(true);

    auto caption = [](tk::Label& l) -> tk::Label& { return l.setFont(kTextFont).setBackColor(kBack).setVisible(false); };

    // Top row: level, topic, position in the selection.
    caption(Label28.create(*this, 240, 120, 900, 300, QStringLiteral("Level:"))).onClick([this] { Label28_Click(); });
    caption(Label27.create(*this, 1200, 120, 900, 300));
    caption(Label29.create(*this, 2400, 120, 900, 300, QStringLiteral("Topic:")));
    caption(Label21.create(*this, 3360, 120, 4200, 300));
    caption(Label30.create(*this, 7680, 120, 720, 300)).setAlignment(tk::Align::Right);
    caption(Label32.create(*this, 8430, 120, 150, 300, QStringLiteral("/")));
    caption(Label31.create(*this, 8610, 120, 780, 300));

    // The sentence.
    caption(Label22.create(*this, 120, 600, 660, 330)).setFont(kItemFont).setAlignment(tk::Align::Right);
    caption(Label11.create(*this, 780, 600, 150, 330, QStringLiteral("."))).setFont(kItemFont);
    caption(Label13.create(*this, 930, 600, 8460, 780)).setFont(kItemFont).setWordWrap(true);

    // The options: A and B on the left, C and D on the right, each letter in
    // a small square before its text.
    tk::Label* letters[] = {&Label1, &Label2, &Label3, &Label4};
    tk::Label* texts[] = {&Label14, &Label12, &Label15, &Label16};
    for (int i = 0; i < 4; ++i) {
        const double left = i < 2 ? 240 : 4800;
        const double top = i % 2 == 0 ? 1560 : 2220;
        letters[i]->create(*this, left, top, 330, 330, optionLetter(i))
            .setFont(kTextFont)
            .setAlignment(tk::Align::Center)
            .setBackColor(tk::RGB(255, 255, 255))
            .setVisible(false);
        caption(texts[i]->create(*this, left + 420, top, i < 2 ? 4020 : 4170, 600)).setFont(kItemFont).setWordWrap(true);
    }
    Command3.create(*this, 2880, 1680, 3840, 900, QStringLiteral("START")).setFont(kTextFont).onClick([this] {
        Command3_Click();
    });

    // The choice: the bar on the left of the frame, four option buttons in a
    // 2 x 2 grid inside it, Next beside it.
    Label19.create(*this, 240, 3060, 480, 840).setBackColor(tk::RGB(0, 255, 0)).setVisible(false);
    Label20.create(*this, 240, 3060, 480, 840).setBackColor(tk::RGB(255, 0, 0)).setVisible(false);
    Frame3D1.create(*this, 840, 3000, 2520, 960).setBackColor(tk::RGB(192, 192, 192)).setVisible(false);
    tk::Label* frameLetters[] = {&Label5, &Label6, &Label7, &Label8};
    for (int i = 0; i < 4; ++i) {
        const double left = i < 2 ? 180 : 1380;
        const double top = i % 2 == 0 ? 150 : 540;
        frameLetters[i]->create(Frame3D1, left, top, 300, 300, optionLetter(i)).setFont(kTextFont);
        option(i).create(Frame3D1, left + 330, top - 30, 600, 360).setDescription(optionLetter(i)).onClick([this, i] {
            Option3D_Click(i);
        });
    }
    Option3D1.create(Frame3D1, 2160, 150, 240, 360).setVisible(false);
    Label9.create(*this, 0, 0, 300, 300).setVisible(false);
    Label10.create(*this, 0, 0, 300, 300).setVisible(false);
    Command2.create(*this, 3720, 3180, 1800, 600, QStringLiteral("NEXT")).setFont(kTextFont).setVisible(false).onClick(
        [this] { Command2_Click(); });
    Command10.create(*this, 3750, 3210, 1800, 600, QStringLiteral("NEXT")).setFont(kTextFont).setVisible(false).onClick(
        [this] { Command10_Click(); });

    // Solution: the button, the right letter and the solution text.
    Command1.create(*this, 240, 4140, 1500, 480, QStringLiteral("SOLUTION")).setFont(kTextFont).setVisible(false).onClick(
        [this] { Command1_Click(); });
    caption(Label18.create(*this, 1860, 4140, 480, 480)).setFont(kItemFont).setAlignment(tk::Align::Center);
    Label17.create(*this, 2460, 4020, 6930, 1080)
        .setFont(kItemFont)
        .setWordWrap(true)
        .setBackColor(tk::RGB(255, 255, 192))
        .setVisible(false);

    // The record number on request.
    caption(Label24.create(*this, 2460, 5130, 5400, 285)).setForeColor(tk::RGB(0, 0, 128)).onClick([this] {
        Label24_Click();
    });
    caption(Label25.create(*this, 2460, 5130, 2700, 285));
    caption(Label26.create(*this, 5220, 5130, 900, 285));

    // Browsing along the bottom, Close at the lower right.
    caption(Label23.create(*this, 240, 5520, 1740, 300, QStringLiteral("Record:")));
    tk::CommandButton* browse[] = {&Command5, &Command7, &Command8, &Command9};
    const char* browseCaptions[] = {"&First", "&Previous", "&Next", "&Last"};
    for (int i = 0; i < 4; ++i)
        browse[i]->create(*this, 1980 + i * 1260, 5430, 1200, 450, QString::fromLatin1(browseCaptions[i]))
            .setFont(kTextFont)
            .setVisible(false);
    Command5.onClick([this] { Command5_Click(); });
    Command7.onClick([this] { Command7_Click(); });
    Command8.onClick([this] { Command8_Click(); });
    Command9.onClick([this] { Command9_Click(); });
    Command6.create(*this, 8040, 5400, 1335, 495, QStringLiteral("&Close")).setFont(kTextFont).onClick([this] {
        Command6_Click();
    });

    // Menus.
    mnuTasks.createMenu(*this, QStringLiteral("&Tasks"));
    mnuQuizmora.createItem(mnuTasks, QStringLiteral("&Quizmora")).onClick([this] { mnuQuizmora_Click(); });
    mnuDatabase.createItem(mnuTasks, QStringLiteral("&Database")).onClick([this] { mnuDatabase_Click(); });
    mnuPractice.createItem(mnuTasks, QStringLiteral("&Practice")).setEnabled(false);
    mnuTest.createItem(mnuTasks, QStringLiteral("&Test")).onClick([this] { mnuTest_Click(); });

    mnuSettings.createMenu(*this, QStringLiteral("&Settings"));
    mnuParameters.createMenu(mnuSettings, QStringLiteral("&Parameters"));
    mnuNumber.createMenu(mnuParameters, QStringLiteral("&Number of sentences"));
    const char* numbers[] = {"20", "30", "40", "50"};
    for (int i = 0; i < 4; ++i) mnuNumeroItem(i).createItem(mnuNumber, QString::fromLatin1(numbers[i]));
    mnuNumeroItem.onClick([this](int i) { mnuNumeroItem_Click(i); });
    mnuNumeroItem(0).setChecked(true);
    mnuDelay.createMenu(mnuParameters, QStringLiteral("&Delay"));
    const char* delays[] = {"&10sec", "&20sec", "&30sec"};
    for (int i = 0; i < 3; ++i) mnuTiempoItem(i).createItem(mnuDelay, QString::fromLatin1(delays[i]));
    mnuTiempoItem.onClick([this](int i) { mnuTiempoItem_Click(i); });
    mnuTiempoItem(0).setChecked(true);
    mnuParameters.setEnabled(false);

    mnuLevel.createMenu(mnuSettings, QStringLiteral("&Level"));
    for (int i = 0; i < mnuNivelItem.count(); ++i)
        mnuNivelItem(i).createItem(mnuLevel, QString::fromLatin1(itembank::kLevels[std::size_t(i)].caption));
    mnuNivelItem.onClick([this](int i) { mnuNivelItem_Click(i); });
    mnuNivelItem(0).setChecked(true);

    mnuTopic.createMenu(mnuSettings, QStringLiteral("&Topic"));
    for (int i = 0; i < mnuTopicItem.count(); ++i)
        mnuTopicItem(i).createItem(mnuTopic, i18n::text(i18n::kTopicCaptions[std::size_t(i)].offset, 16));
    mnuTopicItem.onClick([this](int i) { mnuTopicItem_Click(i); });
    mnuTopicItem(0).setChecked(true);

    mnustart.createMenu(mnuSettings, QStringLiteral("&Starting point..."));
    for (int i = 0; i < beg.count(); ++i) {
        const auto& point = itembank::kStartPoints[std::size_t(i)];
        beg(i).createItem(mnustart, QString::fromLatin1(point.practiceCaption));
        if (!point.offered) beg(i).setVisible(false).setEnabled(false);
    }
    beg.onClick([this](int i) { beg_Click(i); });
    beg(0).setChecked(true);
}

void Spgyak::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    language();
    auto opened = openBankOrLeave(*this);
    if (!opened) return;
    bank = opened;
    // An empty bank still opens the window; Start then shows nothing.
    tk::endOnError([&] { select(QString::fromLatin1(itembank::kAllLevels)); });
}

void Spgyak::language() { applyCaptions(i18n::captionsFor(i18n::kSpgyakCaptions, LangBase, MsgTitle)); }

tk::OptionButton& Spgyak::option(int index) {
    tk::OptionButton* options[] = {&Option3D2, &Option3D3, &Option3D4, &Option3D5};
    return *options[index];
}

// ---------------------------------------------------------------- routines

void Spgyak::fillitem(db::Recordset& rs, bool withLevel) {
    if (!rs.hasCurrentRow()) throw qz::Error(qz::ErrNoCurrentRow, QStringLiteral("No current record."));
    spaced_.fill(rs, QStringLiteral(" "));
    details_.fill(rs);
    if (withLevel) level_.fill(rs);
}

void Spgyak::so() {
    tk::endOnError([&] {
        if (Sel->isEOF()) {
            tk::MsgBox(text(77), tk::vbInformation, MsgTitle);
            return;
        }
        if (Sel->isBOF()) {
            tk::MsgBox(text(78), tk::vbInformation, MsgTitle);
            return;
        }
        fillitem(*Sel);
        hideFeedback();
        if (Command2.Visible()) Command2.SetFocus();
    });
}

void Spgyak::szam() {
    Sel->MoveLast();
    RecCount = Sel->RecordCount();
    Sel->MoveFirst();
    RecPos = 1;
    Label30.setCaption(QString::number(RecPos));
    Label31.setCaption(QString::number(RecCount));
    Label30.setVisible(true);
    Label31.setVisible(true);
    Label32.setVisible(true);
}

void Spgyak::showPosition() { Label30.setCaption(QString::number(RecPos)); }

void Spgyak::oke() {
    // Exact text: a stored lower-case letter is never right.
    const bool right = Label9.Caption() == Label10.Caption();
    Label19.setVisible(right);
    Label20.setVisible(!right);
}

void Spgyak::keresa() {
    tk::endOnError([&] {
        Sel->FindNext(StartCriteria);
        if (Sel->NoMatch()) return;  // nothing found: the item shown stays
        fillitem(*Sel);
    });
}

void Spgyak::check() {
    for (int i = 0; i < mnuTopicItem.count(); ++i) mnuTopicItem(i).setChecked(false);
}

bool Spgyak::select(const QString& criterion) {
    Sel = itembank::selectItems(*bank, criterion);
    if (Sel->isEOF() && Sel->isBOF()) return false;
    Sel->MoveFirst();
    return true;
}

void Spgyak::noMatch() {
    tk::MsgBox(text(82), tk::vbExclamation, MsgTitle);
    Label19.setVisible(false);
    Label20.setVisible(false);
}

void Spgyak::hideFeedback() {
    Label17.setVisible(false);
    Label18.setVisible(false);
    Label19.setVisible(false);
    Label20.setVisible(false);
}

void Spgyak::focusNext() {
    if (Command2.Visible()) Command2.SetFocus();
    else if (Command10.Visible()) Command10.SetFocus();
}

// ---------------------------------------------------------------- the run

void Spgyak::Command3_Click() {
    tk::endOnError([&] {
        ItemNo = 1;
        Label22.setCaption(QString::number(ItemNo));
        Command1.setVisible(true);
        Frame3D1.setVisible(true);
        Command3.setVisible(false);
        const bool sequential = SeqMode == 1;
        Command2.setVisible(sequential);
        Command10.setVisible(!sequential);
        if (!sequential) mnustart.setEnabled(false);
        for (tk::CommandButton* b : {&Command5, &Command7, &Command8, &Command9}) b->setVisible(sequential);
        for (tk::Label* l : {&Label12, &Label13, &Label14, &Label15, &Label16, &Label1, &Label2, &Label3, &Label4,
                             &Label11, &Label22, &Label23})
            l->setVisible(true);
        fillitem(*Sel);
        Label24.setVisible(!Label25.Visible());  // the record number, on request
        if (sequential) {
            Command2.SetFocus();
            Command2.setDefault(true);
        }
    });
}

void Spgyak::Option3D_Click(int Index) {
    Label9.setCaption(optionLetter(Index));
    oke();
    tk::endOnError([&] { focusNext(); });
}

void Spgyak::Form_KeyPress(int& KeyAscii) {
    const int i = tk::letterIndex(KeyAscii, 'a', 4);
    if (i >= 0) option(i).setValue(true);
}

void Spgyak::Command1_Click() {
    Label17.setVisible(true);
    Label18.setVisible(true);
    tk::endOnError([&] { focusNext(); });
}

void Spgyak::Command2_Click() {
    tk::endOnError([&] {
        Option3D1.setValue(true);
        ItemNo += 1;
        Label22.setCaption(QString::number(ItemNo));
        hideFeedback();
        const bool cameFromBefore = Sel->isBOF();
        bool pastEnd = Sel->isEOF();
        if (!pastEnd) {
            Sel->MoveNext();
            pastEnd = Sel->isEOF();
        }
        if (pastEnd) {
            tk::MsgBox(text(80), tk::vbCritical, MsgTitle);
            ItemNo -= 1;
            Label22.setCaption(QString::number(ItemNo));
            szam();
        } else if (!cameFromBefore) {
            RecPos += 1;  // back in from before the first item: still position 1
        }
        fillitem(*Sel);
        showPosition();
    });
}

void Spgyak::Command10_Click() {
    tk::endOnError([&] {
        // A fresh look at the bank for every draw; the previous one is let go.
        RandomSet.release();
        randomBank.release();
        randomBank = db::DBEngine::OpenDatabase(DbPath);
        RandomSet = randomBank->OpenTable(QStringLiteral("test1"));
        RandomSet->setIndex(QStringLiteral("sorszam"));
        itembank::drawItem(*RandomSet, MaxSorszam, [] {
            tk::Randomize();
            return tk::Rnd();
        });
        Option3D1.setValue(true);
        ItemNo += 1;
        Label22.setCaption(QString::number(ItemNo));
        RecPos += 1;
        showPosition();
        fillitem(*RandomSet);
        hideFeedback();
        Label21.setVisible(false);
    });
}

void Spgyak::Command5_Click() {
    tk::endOnError([&] {
        if (!Sel->isBOF()) {
            Sel->MoveFirst();
            so();
        }
        RecPos = 1;
        showPosition();
    });
}

void Spgyak::Command7_Click() {
    tk::endOnError([&] {
        if (!Sel->isBOF()) {
            const bool cameFromAfter = Sel->isEOF();
            Sel->MovePrevious();
            so();
            if (!Sel->isBOF() && !cameFromAfter) RecPos -= 1;
        }
        showPosition();
    });
}

void Spgyak::Command8_Click() {
    tk::endOnError([&] {
        if (!Sel->isEOF()) {
            const bool cameFromBefore = Sel->isBOF();
            Sel->MoveNext();
            so();
            if (!Sel->isEOF() && !cameFromBefore) RecPos += 1;
        }
        showPosition();
    });
}

void Spgyak::Command9_Click() {
    tk::endOnError([&] {
        if (!Sel->isEOF()) {
            Sel->MoveLast();
            so();
        }
        RecPos = RecCount;
        showPosition();
    });
}

void Spgyak::Command6_Click() {
    tasks::show(tasks::Launcher);
    Unload();
}

void Spgyak::Label24_Click() {
    Label24.setVisible(false);
    Label25.setCaption(text(81));
    Label25.setVisible(true);
    Label26.setVisible(true);
}

// ---------------------------------------------------------------- Settings

// A new selection from the Settings menu: no verdict, no pick, the chosen
// kind of selection (topic or level) on the top row, no random Next.
void Spgyak::newSelection(bool byLevel) {
    hideFeedback();
    Option3D1.setValue(true);
    Label27.setVisible(byLevel);
    Label28.setVisible(byLevel);
    Label21.setVisible(!byLevel);
    Label29.setVisible(!byLevel);
    Command10.setVisible(false);
}

void Spgyak::mnuTopicItem_Click(int Index) {
    SeqMode = 1;
    newSelection(false);
    for (tk::CommandButton* b : {&Command2, &Command5, &Command7, &Command8, &Command9}) b->setVisible(true);
    Label23.setVisible(true);
    check();
    mnuTopicItem(Index).setChecked(true);
    try {
        if (!select(QString::fromLatin1(itembank::kTopics[std::size_t(Index)].criterion)))
            throw qz::Error(qz::ErrNoCurrentRow, QStringLiteral("No current record."));
        const auto& topic = i18n::kTopicCaptions[std::size_t(Index)];
        Label21.setCaption(LangBase == i18n::kHungarian && topic.hungarianLabel ? QString::fromUtf8(topic.hungarianLabel)
                                                                                : text(topic.offset));
        fillitem(*Sel);
        szam();
    } catch (const qz::Error&) {
        noMatch();
    }
}

void Spgyak::mnuNivelItem_Click(int Index) {
    newSelection(true);
    Command2.setVisible(true);
    for (int i = 0; i < 3; ++i) mnuNivelItem(i).setChecked(i == Index);
    const auto& level = itembank::kLevels[std::size_t(Index)];
    const QString label = QString::fromLatin1(level.label);
    if (Index == 3) Label27.setCaption(label);
    if (!select(QString::fromLatin1(level.criterion))) {
        noMatch();  // no item at this level: the one shown stays
        return;
    }
    Label27.setCaption(label);
    fillitem(*Sel, false);
    szam();
}

void Spgyak::beg_Click(int Index) {
    if (const char* criterion = itembank::kStartPoints[std::size_t(Index)].practiceCriterion)
        StartCriteria = QString::fromLatin1(criterion);
    Command10.setVisible(false);
    for (tk::CommandButton* b : {&Command5, &Command7, &Command8, &Command9}) b->setVisible(true);
    Label23.setVisible(true);
    keresa();
    SeqMode = 1;
    Label30.setVisible(false);
    Label31.setVisible(false);
    Label32.setVisible(false);
}

void Spgyak::Label28_Click() {
    // The items kept as the most common mistakes, in table order.
    auto opened = db::DBEngine::OpenDatabase(DbPath);
    bank = opened;
    auto whole = opened->CreateSnapshot(QStringLiteral("Test1"));
    whole->setFilter(QString::fromLatin1(itembank::kMistakesCriterion));
    Sel = whole->CreateSnapshot();
    if (Sel->isEOF() && Sel->isBOF()) {
        noMatch();
        return;
    }
    Sel->MoveFirst();
    fillitem(*Sel);
}

void Spgyak::mnuNumeroItem_Click(int Index) {
    for (int i = 0; i < mnuNumeroItem.count(); ++i) mnuNumeroItem(i).setChecked(i == Index);
    SentenceCount = 20 + 10 * Index;
}

void Spgyak::mnuTiempoItem_Click(int Index) {
    for (int i = 0; i < mnuTiempoItem.count(); ++i) mnuTiempoItem(i).setChecked(i == Index);
    DelayMs = 10000 * (Index + 1);
}

// ---------------------------------------------------------------- Tasks

void Spgyak::mnuQuizmora_Click() { Command6_Click(); }

void Spgyak::mnuDatabase_Click() {
    tasks::show(tasks::Editor);
    Unload();
}

void Spgyak::mnuTest_Click() {
    tasks::hide(tasks::Review);
    tasks::show(tasks::Test);
    Unload();
}
