#include "editor/form1.h"

#include <cmath>

#include "app/qz_test.h"
#include "i18n/captions.h"
#include "itembank/database.h"
#include "itembank/selection.h"
#include "toolkit/caption.h"
#include "toolkit/handler.h"
#include "toolkit/random.h"
#include "toolkit/winapi.h"

using namespace qz_test;

namespace {

const QString kSorszam = QStringLiteral("sorszam");
const QString kSorrend = QStringLiteral("sorrend");
// Flags of the font dialog: screen and printer fonts, with the effects section.
constexpr int kFontFlags = 259;

// "Level:" -> "Level": a field's caption as a screen reader should say it.
QString fieldName(const QString& caption) {
    QString name = tk::plainCaption(caption).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name.trimmed();
}

}  // namespace

template <class Body>
bool Form1::run(Body&& body) {
    try {
        body();
        return true;
    } catch (const qz::Error& e) {
        if (e.number() == qz::ErrDuplicateKey) reportDuplicate();
        return false;  // any other failure ends the handler silently
    }
}

void Form1::design() {
    setClientSize(10230, 5880);
    setMinButton(false);
    setMaxButton(false);
    setCaption(QStringLiteral("Database"));

    const tk::Font sans{QStringLiteral("MS Sans Serif"), 9.75, true};
    const tk::Font serif{QStringLiteral("Times New Roman"), 12, true};

    // The bound view comes first: the boxes below bind to it.
    Data1.create(*this, 240, 5160, 3255, 390, QStringLiteral("Data1"))
        .setConnect(QStringLiteral("Access 2000;"))
        .setRecordSource(QStringLiteral("test1"))
        .setVisible(false);
    Data1.onError([this](const qz::Error& e) { qz_test::leaveForLauncher(*this, e); });

    Command10.create(*this, 5215, 2400, 1800, 495, QStringLiteral("&Start")).setFont(sans).onClick([this] {
        Command10_Click();
    });
    Command10.setDefault(true);

    // The item: serial number, level, topic line; sentence; fillers; solution.
    Text1.create(*this, 240, 240, 900, 375).setFont(sans).setDataSource(Data1, QStringLiteral("Sorszam"));
    Label7.create(*this, 1170, 300, 150, 315, QStringLiteral(".")).setFont(sans);
    Label6.create(*this, 1500, 300, 1200, 315, QStringLiteral("Level:")).setFont(sans);
    Text2.create(*this, 2700, 240, 600, 375).setFont(sans).setDataSource(Data1, QStringLiteral("szint"));
    Label11.create(*this, 3600, 300, 1200, 315, QStringLiteral("Topic:")).setFont(sans);
    Label10.create(*this, 4800, 300, 5190, 315).setFont(sans).setForeColor(tk::RGB(0, 0, 128));
    Text3.create(*this, 240, 780, 9750, 1140, true).setFont(serif).setDataSource(Data1, QStringLiteral("mondat"));

    tk::Label* letters[] = {&Label1, &Label2, &Label3, &Label4};
    tk::TextBox* fillers[] = {&Text4, &Text5, &Text6, &Text7};
    const char* fields[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        const double left = i % 2 == 0 ? 240 : 5265;
        const double top = i < 2 ? 2100 : 2640;
        letters[i]->create(*this, left, top + 75, 300, 315, optionLetter(i)).setFont(sans);
        fillers[i]->create(*this, left + 360, top, 4365, 420).setFont(serif).setDataSource(Data1, QLatin1String(fields[i]));
    }
    Label5.create(*this, 240, 3255, 1500, 315, QStringLiteral("Solution:")).setFont(sans);
    Text10.create(*this, 1800, 3180, 480, 420).setFont(sans).setDataSource(Data1, QStringLiteral("felelet2"));
    // Solutions run long: two lines, wrapped.
    Text8.create(*this, 2400, 3180, 7590, 840, true).setFont(serif).setDataSource(Data1, QStringLiteral("felelet1"));

    // The topic keys are bound but never shown.
    Label8.create(*this, 240, 5760, 900, 315, QStringLiteral("Key 1:")).setVisible(false);
    Text9.create(*this, 1200, 5760, 450, 375).setDataSource(Data1, QStringLiteral("kulcs1")).setVisible(false);
    Label9.create(*this, 1800, 5760, 900, 315, QStringLiteral("Key 2:")).setVisible(false);
    Text11.create(*this, 2760, 5760, 450, 375).setDataSource(Data1, QStringLiteral("kulcs2")).setVisible(false);

    struct ButtonAt {
        tk::CommandButton* button;
        const char* caption;
        double left, top, width;
    };
    const ButtonAt buttons[] = {
        {&Command6, "&First", 240, 4320, 2325},        {&Command3, "&Previous", 2715, 4320, 2325},
        {&Command7, "Ne&xt", 5190, 4320, 2325},        {&Command8, "&Last", 7665, 4320, 2325},
        {&Command1, "Ne&w", 240, 5040, 1500},          {&Command4, "Del&ete", 1890, 5040, 1500},
        {&Command5, "Fin&d first", 3540, 5040, 2100},  {&Command11, "F&ind next", 5790, 5040, 2550},
        {&Command2, "&Close", 8490, 5040, 1500},
    };
    for (const ButtonAt& b : buttons)
        b.button->create(*this, b.left, b.top, b.width, 495, QString::fromLatin1(b.caption)).setFont(sans);
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { Command2_Click(); });
    Command3.onClick([this] { Command3_Click(); });
    Command4.onClick([this] { Command4_Click(); });
    Command5.onClick([this] { Command5_Click(); });
    Command6.onClick([this] { Command6_Click(); });
    Command7.onClick([this] { Command7_Click(); });
    Command8.onClick([this] { Command8_Click(); });
    Command11.onClick([this] { Command11_Click(); });

    // Everything but Start waits for Start.
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             &Command1, &Command2, &Command3, &Command4, &Command5, &Command6, &Command7, &Command8, &Command11,
             &Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text10, &Label1, &Label2, &Label3,
             &Label4, &Label5, &Label6, &Label7, &Label10, &Label11})
        c->setVisible(false);


    mnuTasks.createMenu(*this, QStringLiteral("Tas&ks"));
    mnuQuizmora.createItem(mnuTasks, QStringLiteral("&Quizmora")).onClick([this] { mnuQuizmora_Click(); });
    mnuDatabase.createItem(mnuTasks, QStringLiteral("&Database"));  // the editor is open already
    mnuPractice.createItem(mnuTasks, QStringLiteral("&Practice")).onClick([this] { mnuPractice_Click(); });
    mnuTest.createItem(mnuTasks, QStringLiteral("&Test")).onClick([this] { mnuTest_Click(); });
    mnuOptions.createMenu(*this, QStringLiteral("&Options"));
    mnuFonts.createItem(mnuOptions, QStringLiteral("&Fonts...")).onClick([this] { mnuFonts_Click(); });
    mnutopic.createMenu(*this, QStringLiteral("Topi&cs"));
    for (int i = 0; i < mnutopicItem.count(); ++i)
        mnutopicItem(i).createItem(mnutopic, QString()).setEnabled(false);  // no unseen row is ever filed
    mnutopicItem.onClick([this](int i) { mnutopicItem_Click(i); });
}

void Form1::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    language();
    leaving_ = false;
    NewPending = 0;  // a begun item was stored when the editor was left
    Data1.setDatabaseName(DbPath);  // the view opens once loading has finished
}

void Form1::language() {
    applyCaptions(i18n::captionsFor(i18n::kForm1Captions, LangBase, MsgTitle));
    // Each box says which field it edits.
    const std::pair<tk::TextBox*, QString> names[] = {
        {&Text1, kSorszam},
        {&Text2, fieldName(Label6.Caption())},
        {&Text3, QStringLiteral("mondat")},
        {&Text4, Label1.Caption()},
        {&Text5, Label2.Caption()},
        {&Text6, Label3.Caption()},
        {&Text7, Label4.Caption()},
        {&Text8, fieldName(Label5.Caption())},
        {&Text9, QStringLiteral("kulcs1")},
        {&Text10, QStringLiteral("felelet2")},
        {&Text11, QStringLiteral("kulcs2")},
    };
    for (const auto& [box, name] : names) box->widget()->setAccessibleName(name);
}

void Form1::data() {
    tk::endOnError([&] {
        auto rs = Data1.Recordset();
        const int topic = itembank::topicOfPair(rs->field(QStringLiteral("kulcs1")).toString(),
                                                rs->field(QStringLiteral("kulcs2")).toString());
        Label10.setCaption(topic < 0 ? QString()
                                     : text(i18n::kTopicCaptions[static_cast<std::size_t>(topic)].offset));
    });
}

void Form1::Command10_Click() {
    try {
        auto database = Data1.Database();
        auto table = database->OpenTable(QStringLiteral("test1"));
        table->setIndex(kSorszam);
        Data1.Refresh();
        SerialTable = table;
    } catch (const qz::Error& e) {
        // The editor stays as it was, with Start to try again.
        tk::MsgBox(i18n::extraText(i18n::Extra::BankCannotBeOpened, LangBase) + QStringLiteral("\n\n") + bankErrorText(e),
                   tk::vbExclamation, MsgTitle);
        return;
    }
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             &Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label11, &Label10, &Text1, &Text2,
             &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text10, &Command1, &Command2, &Command3, &Command4,
             &Command5, &Command6, &Command7, &Command8, &Command11})
        c->setVisible(true);
    Command10.setVisible(false);
    Command10.setDefault(false);
    for (int i = 0; i < mnutopicItem.count(); ++i) mnutopicItem(i).setEnabled(true);
    data();
}

void Form1::Command1_Click() {
    NewPending = 1;
    const bool begun = run([&] {
        auto rs = Data1.Recordset();
        if (!rs->isBOF()) rs->MovePrevious();  // stores what was typed into the shown item
        Label10.setCaption(QString());
        SerialTable->setIndex(kSorszam);
        Data1.Refresh();
        std::int64_t highest = 0;  // an empty bank starts at 1
        if (SerialTable->RecordCount() > 0) {
            SerialTable->MoveLast();
            highest = SerialTable->field(kSorszam).toInt();
        }
        rs->AddNew();
        Text1.setText(QString::number(highest + 1));
        Text2.SetFocus();
    });
    if (!begun) {
        NewPending = 0;
        return;
    }
    // The order key, from 1 to 3000; a key that cannot be stored is raised
    // by one and tried again, up to the largest key there is.
    tk::Randomize();
    int r = static_cast<int>(std::floor(tk::Rnd() * 3000.0f + 1.0f));
    for (;; ++r) {
        try {
            Data1.Recordset()->setField(QStringLiteral("sorrend2"), db::Value(r));
            return;
        } catch (const qz::Error& e) {
            if (r < 32767) continue;
            tk::MsgBox(i18n::extraText(i18n::Extra::NewItemNotBegun, LangBase) + QStringLiteral("\n\n") + e.message(),
                       tk::vbExclamation, MsgTitle);
            return;
        }
    }
}

void Form1::Command3_Click() { browse(&db::Recordset::MovePrevious, true); }
void Form1::Command6_Click() { browse(&db::Recordset::MoveFirst, true); }
void Form1::Command7_Click() { browse(&db::Recordset::MoveNext, false); }
void Form1::Command8_Click() { browse(&db::Recordset::MoveLast, false); }

// The browse row: one move, unless the view is already before the first row
// (moving backwards) or after the last; the topic line follows.
void Form1::browse(void (db::Recordset::*move)(), bool backwards) {
    NewPending = 0;
    run([&] {
        auto rs = Data1.Recordset();
        if (!(backwards ? rs->isBOF() : rs->isEOF())) ((*rs).*move)();
        data();
    });
}

void Form1::storePending(db::Recordset& rs, bool makeCurrent) {
    if (NewPending != 1) return;
    rs.Update();
    NewPending = 0;
    if (makeCurrent) rs.MoveLast();  // the item just stored is the last one
}

void Form1::Command4_Click() {
    run([&] {
        auto rs = Data1.Recordset();
        storePending(*rs, true);
        rs->Delete();
        rs->MovePrevious();
    });
}

void Form1::Command5_Click() {
    run([&] {
        auto rs = Data1.Recordset();
        storePending(*rs, false);
        SearchCriteria = tk::InputBox(text(86), MsgTitle, QStringLiteral("sorszam = 1"));
        rs->FindFirst(SearchCriteria);
        if (rs->NoMatch()) {
            tk::Beep();
            tk::MsgBox(text(85), tk::vbExclamation, MsgTitle);
        }
        data();
    });
}

void Form1::Command11_Click() {
    run([&] {
        auto rs = Data1.Recordset();
        storePending(*rs, false);
        rs->FindNext(SearchCriteria);
        if (rs->NoMatch()) {
            tk::Beep();
            tk::MsgBox(text(85), tk::vbExclamation, MsgTitle);
            return;
        }
        data();
    });
}

void Form1::reportDuplicate() {
    tk::MsgBox(i18n::extraText(i18n::Extra::DuplicateSerial, LangBase).arg(Text1.Text().trimmed()), tk::vbExclamation,
               MsgTitle);
}

void Form1::storeShown() {
    if (SerialTable->Index() != kSorszam) return;
    Data1.Refresh();  // stores what was typed, a begun item too
    // Only once it is stored: a refused store can be tried again.
    SerialTable->setIndex(kSorrend);
}

bool Form1::storeBeforeLeaving(bool silent) {
    try {
        storeShown();
        return true;
    } catch (const qz::Error& e) {
        if (e.number() == qz::ErrDuplicateKey) reportDuplicate();
        else if (!silent) throw;
        return false;
    }
}

void Form1::leaveFor(tasks::Window w, bool silent) {
    if (!storeBeforeLeaving(silent)) return;  // before Start, or the item cannot be stored yet
    leaving_ = true;
    if (w == tasks::Test) tasks::hide(tasks::Review);
    tasks::show(w);
    Unload();
}

void Form1::Command2_Click() { leaveFor(tasks::Launcher, false); }
void Form1::mnuQuizmora_Click() { leaveFor(tasks::Launcher, true); }
void Form1::mnuPractice_Click() { leaveFor(tasks::Practice, true); }
void Form1::mnuTest_Click() { leaveFor(tasks::Test, true); }

void Form1::Form_QueryUnload(int& Cancel) {
    if (leaving_) return;
    // Closed from the frame: as Close, also before Start (there is nothing to
    // store then). A serial number that is taken keeps the editor open for
    // correction; any other failure is reported as the window goes.
    if (SerialTable.isSet()) {
        try {
            storeShown();
        } catch (const qz::Error& e) {
            if (e.number() == qz::ErrDuplicateKey) {
                reportDuplicate();
                Cancel = 1;
                return;
            }
        }
    }
    leaving_ = true;
    tasks::show(tasks::Launcher);
}

void Form1::mnuFonts_Click() {
    tk::endOnError([&] {
        tk::Control* focused = ActiveControl();
        CMDialog1.Flags = kFontFlags;
        const std::optional<tk::FontChoice> choice = tk::dialogs().ShowFont(CMDialog1.Flags, CMDialog1.font);
        if (!choice) return;  // Cancel changes nothing
        CMDialog1.font = *choice;
        if (!focused)
            throw qz::Error(qz::ErrInvalidCall, QStringLiteral("No control has the focus."));
        focused->setFontProperty(QStringLiteral("FontName"), choice->name);
        focused->setFontProperty(QStringLiteral("FontSize"), static_cast<double>(choice->size));
        focused->setFontProperty(QStringLiteral("FontBold"), choice->bold);
        focused->setFontProperty(QStringLiteral("FontItalic"), choice->italic);
        focused->setFontProperty(QStringLiteral("FontUnderline"), choice->underline);
        focused->setFontProperty(QStringLiteral("FontStrikethru"), choice->strikethru);
    });
}

void Form1::mnutopicItem_Click(int Index) {
    run([&] {
        const itembank::Topic& topic = itembank::kTopics.at(static_cast<std::size_t>(Index));
        auto rs = Data1.Recordset();
        storePending(*rs, true);
        rs->Edit();
        rs->setField(QStringLiteral("kulcs1"), db::Value(QString::fromUtf8(topic.kulcs1)));
        if (topic.kulcs2) rs->setField(QStringLiteral("kulcs2"), db::Value(QString::fromUtf8(topic.kulcs2)));
        rs->Update();
        data();
    });
}
