#include "test/sptest.h"

#include "app/qz_test.h"
#include "app/tasks.h"
#include "i18n/captions.h"
#include "itembank/selection.h"
#include "toolkit/handler.h"
#include "toolkit/random.h"
#include "toolkit/winapi.h"

using namespace qz_test;

namespace {

// right * 100 / scored, divided exactly, rounded to the nearest whole number
// with halves going to the even neighbour.
std::int16_t percentHalfEven(int right, int scored) {
    const long long num = static_cast<long long>(right) * 100;
    long long q = num / scored;
    const long long twiceRest = 2 * (num % scored);
    if (twiceRest > scored || (twiceRest == scored && q % 2 != 0)) ++q;
    return static_cast<std::int16_t>(q);
}

}  // namespace

void Sptest::design() {
    setClientSize(9630, 6015);
    setMinButton(false);
    setMaxButton(false);
    setKeyPreview(true);

    const tk::Font itemFont{QStringLiteral("Times New Roman"), 12, true};
    const tk::Font textFont{QStringLiteral("MS Sans Serif"), 8.25, true};

    Data1.create(*this, 240, 5520, 2895, 375, QStringLiteral("Data1"))
        .setConnect(QStringLiteral("Access 2000;"))
        .setRecordSource(QStringLiteral("test1"))
        .setVisible(false);
    Data1.onError([this](const qz::Error& e) { leaveForLauncher(*this, e); });
    Data2.create(*this, 240, 5520, 2895, 375, QStringLiteral("Data2"))
        .setConnect(QStringLiteral("Access 2000;"))
        .setRecordSource(QStringLiteral("hiba1"))
        .setVisible(false);
    Data2.onError([this](const qz::Error& e) { leaveForLauncher(*this, e); });
    Timer1.create(*this, 0, false).onTimer([this] { Timer1_Timer(); });

    // The item: number and sentence across the top, A and B left, C and D right.
    Label22.create(*this, 120, 240, 480, 375).setFont(itemFont).setAlignment(tk::Align::Right).setVisible(false);
    Label11.create(*this, 600, 240, 180, 375, QStringLiteral(".")).setFont(itemFont).setVisible(false);
    Label13.create(*this, 840, 240, 8640, 855).setFont(itemFont).setWordWrap(true).setUseMnemonic(false)
        .setVisible(false);
    tk::Label* letters[] = {&Label1, &Label2, &Label3, &Label4};
    tk::Label* choices[] = {&Label14, &Label12, &Label15, &Label16};
    for (int i = 0; i < 4; ++i) {
        const double left = i < 2 ? 240 : 4920;
        const double top = i % 2 == 0 ? 1200 : 1680;
        letters[i]->create(*this, left, top, 300, 375, optionLetter(i)).setFont(itemFont).setVisible(false);
        choices[i]->create(*this, left + 360, top, 4080, 375).setFont(itemFont).setUseMnemonic(false)
            .setVisible(false);
    }
    Label9.create(*this, 8760, 2280, 375, 255, QStringLiteral("0")).setVisible(false);
    Label10.create(*this, 9120, 2280, 375, 255).setVisible(false);
    items_.add(Label13, QStringLiteral("mondat"))
        .add(Label14, QStringLiteral("a"))
        .add(Label12, QStringLiteral("b"))
        .add(Label15, QStringLiteral("c"))
        .add(Label16, QStringLiteral("d"));
    answer_.add(Label10, QStringLiteral("felelet2"));
    Label13.setDataSource(Data1, QStringLiteral("mondat"));
    Label14.setDataSource(Data1, QStringLiteral("a"));
    Label12.setDataSource(Data1, QStringLiteral("b"));
    Label15.setDataSource(Data1, QStringLiteral("c"));
    Label16.setDataSource(Data1, QStringLiteral("d"));
    Label10.setDataSource(Data1, QStringLiteral("felelet2"));

    Command3.create(*this, 4140, 1440, 1335, 495, QStringLiteral("&S t a r t")).setFont(textFont).onClick([this] {
        Command3_Click();
    });
    Command2.create(*this, 4140, 2280, 1335, 495, QStringLiteral("&Next")).setFont(textFont).setVisible(false)
        .onClick([this] { Command2_Click(); });
    Command4.create(*this, 4140, 2280, 1335, 495, QStringLiteral("&Next")).setFont(textFont).setVisible(false)
        .onClick([this] { Command4_Click(); });

    // The option frame: A to D, and the hidden fifth option that clears the pick.
    Frame3D1.create(*this, 2760, 2880, 4095, 735).setVisible(false);
    tk::Label* optionLetters[] = {&Label5, &Label6, &Label7, &Label8};
    for (int i = 0; i < 4; ++i) {
        option(i).create(Frame3D1, 300 + i * 960, 240, 300, 300).onClick([this, i] { Option3D_Click(i); });
        option(i).widget()->setAccessibleName(optionLetter(i));
        optionLetters[i]->create(Frame3D1, 620 + i * 960, 285, 300, 300, optionLetter(i)).setFont(textFont);
    }
    Option3D5.create(Frame3D1, 3900, 240, 150, 300).setVisible(false);

    Command5.create(*this, 7080, 2880, 1815, 495, QStringLiteral("E&valuation")).setFont(textFont).setVisible(false)
        .onClick([this] { Command5_Click(); });
    Frame3D2.create(*this, 7080, 3600, 1815, 1095).setVisible(false);
    Label18.create(Frame3D2, 120, 180, 1575, 375).setFont(itemFont).setAlignment(tk::Align::Center);
    Label21.create(Frame3D2, 120, 600, 1575, 375).setFont(itemFont).setAlignment(tk::Align::Center);

    // The settings in force, the review link and Close along the bottom.
    Label19.create(*this, 240, 3840, 3000, 300, QStringLiteral("&Number of sentences...")).setFont(textFont)
        .setVisible(false);
    Label25.create(*this, 3360, 3840, 600, 300).setFont(textFont).setVisible(false);
    Label20.create(*this, 240, 4200, 3000, 300, QStringLiteral("&Delay...")).setFont(textFont).setVisible(false);
    Label23.create(*this, 3360, 4200, 600, 300).setFont(textFont).setVisible(false);
    Label17.create(*this, 240, 4680, 3720, 855,
                   QStringLiteral("If you want to see the items you failed to answer correctly, click here."))
        .setFont(textFont)
        .setWordWrap(true)
        .setForeColor(tk::RGB(0, 0, 160))
        .setVisible(false)
        .onClick([this] { Label17_Click(); });
    Command6.create(*this, 4140, 5400, 1335, 495, QStringLiteral("&Close")).setFont(textFont).onClick([this] {
        Command6_Click();
    });

    mnuTasks.createMenu(*this, QStringLiteral("Tas&ks"));
    mnuQuizmora.createItem(mnuTasks, QStringLiteral("&Quizmora")).onClick([this] { mnuQuizmora_Click(); });
    mnuDatabase.createItem(mnuTasks, QStringLiteral("&Database")).onClick([this] { mnuDatabase_Click(); });
    mnuPractice.createItem(mnuTasks, QStringLiteral("&Practice")).onClick([this] { mnuPractice_Click(); });
    mnuTest.createItem(mnuTasks, QStringLiteral("&Test")).setEnabled(false);
    mnuSettings.createMenu(*this, QStringLiteral("Settin&gs"));
    mnuParameters.createMenu(mnuSettings, QStringLiteral("&Parameters..."));
    mnuNumber.createMenu(mnuParameters, QStringLiteral("&Number of sentences..."));
    for (int i = 0; i < mnuNumeroItem.count(); ++i)
        mnuNumeroItem(i).createItem(mnuNumber, QString::number(20 + 10 * i));
    mnuNumeroItem.onClick([this](int i) { mnuNumeroItem_Click(i); });
    mnuDelay.createMenu(mnuParameters, QStringLiteral("&Delay..."));
    for (int i = 0; i < mnuTiempoItem.count(); ++i)
        mnuTiempoItem(i).createItem(mnuDelay, QString::number(10 * (i + 1)) + QStringLiteral("sec"));
    mnuTiempoItem.onClick([this](int i) { mnuTiempoItem_Click(i); });
    mnuStart.createMenu(mnuSettings, QStringLiteral("&Starting point..."));
    for (int i = 0; i < beg.count(); ++i) {
        const auto& point = itembank::kStartPoints[static_cast<std::size_t>(i)];
        beg(i).createItem(mnuStart, QString::fromUtf8(point.testCaption))
            .setVisible(point.offered)
            .setEnabled(point.offered);
    }
    beg.onClick([this](int i) { beg_Click(i); });
}

tk::OptionButton& Sptest::option(int i) {
    tk::OptionButton* options[] = {&Option3D1, &Option3D2, &Option3D3, &Option3D4};
    return *options[i];
}

void Sptest::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    language();
    running_ = false;
    scored_ = false;
    randomShown_ = false;
    showSettings();
    Data1.setDatabaseName(DbPath);  // both views open once loading has finished
    Data2.setDatabaseName(DbPath);
}

void Sptest::language() { applyCaptions(i18n::captionsFor(i18n::kSptestCaptions, LangBase, MsgTitle)); }

void Sptest::showSettings() {
    for (int i = 0; i < mnuNumeroItem.count(); ++i) mnuNumeroItem(i).setChecked(SentenceCount == 20 + 10 * i);
    Label25.setCaption(SentenceCount > 0 ? QString::number(SentenceCount) : QString());
    Label19.setVisible(SentenceCount > 0);
    Label25.setVisible(SentenceCount > 0);
    for (int i = 0; i < mnuTiempoItem.count(); ++i) mnuTiempoItem(i).setChecked(DelayMs == 10000 * (i + 1));
    Label23.setCaption(DelayMs > 0 ? QString::number(DelayMs / 1000) + QStringLiteral(" s") : QString());
    Label20.setVisible(DelayMs > 0);
    Label23.setVisible(DelayMs > 0);
}

// The settings of a run stay as they were at its Start until its evaluation.
void Sptest::mnuNumeroItem_Click(int Index) {
    if (running_) return;
    SentenceCount = 20 + 10 * Index;
    showSettings();
}

void Sptest::mnuTiempoItem_Click(int Index) {
    if (running_) return;
    DelayMs = 10000 * (Index + 1);
    showSettings();
}

void Sptest::beg_Click(int Index) {
    if (running_) return;
    StartCriteria = QString::fromUtf8(itembank::kStartPoints[static_cast<std::size_t>(Index)].testCriterion);
    keresa();
    StartChosen = 1;
}

void Sptest::keresa() {
    tk::endOnError([&] {
        Data1.Refresh();
        Data1.Recordset()->FindNext(StartCriteria);  // a search that finds nothing stays on the first row
        randomShown_ = false;
    });
}

void Sptest::Command3_Click() {
    tk::endOnError([&] {
        // The first item is the bound view's current row; with no item to show
        // the run does not begin at all.
        auto rs = Data1.Recordset();
        if (!rs->hasCurrentRow()) rs->MoveFirst();
        items_.fill(*rs);
        answer_.fill(*rs);
        randomShown_ = false;
        scored_ = false;

        Label9.setCaption(QStringLiteral("0"));
        ItemNo = 1;
        RightCount = 0;
        ShownNo = 1;
        Command5.setVisible(SentenceCount == 0);
        Label22.setCaption(QString::number(ShownNo));
        Frame3D1.setVisible(true);
        Frame3D2.setVisible(false);
        Command3.setCaption(text(3));
        Command3.setVisible(false);
        if (DelayMs == 0) {
            if (StartChosen == 1) {
                Command2.setVisible(true);
            } else {
                Command4.setVisible(true);
                mnuStart.setEnabled(false);
            }
        }
        showItem(true);
        Label17.setVisible(false);
        Option3D5.setValue(true);
        // Nothing of the run's settings changes until its evaluation.
        mnuSettings.setEnabled(false);
        running_ = true;
        if (DelayMs > 0) {
            Command2.setVisible(false);
            Timer1.setInterval(DelayMs);
            Timer1.setEnabled(true);
        }
        setf();
    });
}

void Sptest::Command2_Click() {
    tk::endOnError([&] { advanceBound(); });
}

void Sptest::Timer1_Timer() {
    if (!running_) return;
    tk::Beep();
    tk::endOnError([&] { advanceBound(); });
}

// After the run's last sentence: the evaluation instead of another item.
bool Sptest::endIfLast() {
    if (ItemNo != SentenceCount) return false;
    tk::Beep();
    Timer1.setEnabled(false);
    evalu();
    return true;
}

void Sptest::advanceBound() {
    tally();
    if (endIfLast()) return;
    cont();
    Option3D5.setValue(true);
    ++ShownNo;
    Label22.setCaption(QString::number(ShownNo));
    ++ItemNo;
    scored_ = false;
}

void Sptest::Command4_Click() {
    tk::endOnError([&] {
        tally();
        if (endIfLast()) return;
        // A fresh table handle for every draw; the previous one goes.
        RandomSet = Data1.Database()->OpenTable(QStringLiteral("test1"));
        RandomSet->setIndex(QStringLiteral("sorszam"));
        itembank::drawItem(*RandomSet, MaxSorszam, [] {
            tk::Randomize();
            return tk::Rnd();
        });
        Option3D5.setValue(true);
        ++ItemNo;
        Label22.setCaption(QString::number(ItemNo));
        items_.fill(*RandomSet, QStringLiteral(" "));
        answer_.fill(*RandomSet);
        randomShown_ = true;
        scored_ = false;
    });
}

void Sptest::cont() {
    auto rs = Data1.Recordset();
    if (!rs->isEOF()) rs->MoveNext();
    if (rs->isEOF()) rs->MoveFirst();  // from the last item straight on to the first
    randomShown_ = false;
}

// The item: its number, sentence, letters and options.
void Sptest::showItem(bool shown) {
    for (tk::Label* l : {&Label12, &Label13, &Label14, &Label15, &Label16, &Label1, &Label2, &Label3, &Label4,
                         &Label11, &Label22})
        l->setVisible(shown);
}

void Sptest::setf() {
    if (Command2.Visible()) Command2.SetFocus();
    else if (Command4.Visible()) Command4.SetFocus();
}

void Sptest::Option3D_Click(int Index) {
    Label9.setCaption(optionLetter(Index));
    setf();
}

void Sptest::Form_KeyPress(int& KeyAscii) {
    if (const int i = tk::letterIndex(KeyAscii, 'a', 4); i >= 0) option(i).setValue(true);
}

void Sptest::tally() {
    if (scored_) return;  // scored already: an advance that failed is being tried again
    const bool right = Label9.Caption() == Label10.Caption();
    if (right) ++RightCount;
    else recordFailed();
    scored_ = true;
    Label9.setCaption(QStringLiteral("0"));
    if (!right) Data2.Recordset()->MoveLast();
}

// The failed item into hiba1 as the learner saw it, with the pick made.
void Sptest::recordFailed() {
    // The row read in full before anything is written.
    const QString felelet1 =
        (randomShown_ ? RandomSet->field(QStringLiteral("felelet1")) : Data1.Recordset()->field(QStringLiteral("felelet1")))
            .toString();
    const std::pair<const char*, QString> row[] = {
        {"hiba", Label9.Caption()},   {"mondat", Label13.Caption()}, {"a", Label14.Caption()},
        {"b", Label12.Caption()},     {"c", Label15.Caption()},      {"d", Label16.Caption()},
        {"felelet1", felelet1},       {"felelet2", Label10.Caption()},
    };
    auto rs = Data2.Recordset();
    // One transaction per row: it is in hiba1 whole or not at all.
    db::Transaction transaction(*Data2.Database());
    try {
        rs->AddNew();
        for (const auto& [field, value] : row) rs->setField(QString::fromLatin1(field), db::Value(value));
        rs->Update();
    } catch (const qz::Error&) {
        if (rs->EditMode() != db::dbEditNone) rs->CancelUpdate();
        throw;
    }
    transaction.commit();
}

void Sptest::evalu() {
    Frame3D1.setVisible(false);
    Frame3D2.setVisible(true);
    Command3.setVisible(true);
    Command2.setVisible(false);
    Command4.setVisible(false);
    showItem(false);
    for (tk::Label* l : {&Label19, &Label20, &Label23, &Label25}) l->setVisible(false);
    DelayMs = 0;
    SentenceCount = 0;
    StartChosen = 0;
    Label23.setCaption(QString());
    Label25.setCaption(QString());
    ScorePct = percentHalfEven(RightCount, ItemNo);
    Label18.setCaption(QString::number(RightCount) + QLatin1Char('/') + QString::number(ItemNo));
    Label21.setCaption(QString::number(ScorePct) + QLatin1Char('%'));
    if (ScorePct != 100) Label17.setVisible(true);
    // The run is over: it cannot be scored again, and the settings are free.
    running_ = false;
    Timer1.setEnabled(false);
    Command5.setVisible(false);
    showSettings();
    mnuSettings.setEnabled(true);
    mnuStart.setEnabled(true);
}

void Sptest::Command5_Click() {
    tk::endOnError([&] {
        if (!running_) return;
        Timer1.setEnabled(false);
        tally();
        cont();
        mnuStart.setEnabled(true);
        Command5.setVisible(false);
        evalu();
    });
}

void Sptest::Label17_Click() {
    Frame3D2.setVisible(false);
    Label17.setVisible(false);
    tasks::show(tasks::Review);
    tk::SetWindowPos(hWnd(), tk::HWND_NOTOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    tk::SetWindowPos(tasks::form(tasks::Review).hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
}

void Sptest::Command6_Click() {
    tasks::show(tasks::Launcher);
    tasks::unload(tasks::Review);  // its unload deletes the failed items it showed
    Unload();
}

void Sptest::mnuQuizmora_Click() {
    tasks::show(tasks::Launcher);
    Unload();
}

void Sptest::mnuDatabase_Click() {
    tasks::show(tasks::Editor);
    Unload();
}

void Sptest::mnuPractice_Click() {
    tasks::show(tasks::Practice);
    Unload();
}
