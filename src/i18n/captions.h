#pragma once
// The caption routine of every window that speaks the working language, as
// data: which control gets which interface text, in which order, the fixed
// literals that replace some of them in Hungarian, and the window's name for
// its title and message boxes. One routine, applyCaptions, carries out any of
// the tables.

#include <QString>
#include <array>
#include <utility>
#include <vector>

namespace i18n {

struct CaptionRow {
    const char* control;  // design name; nullptr: the window title
    int offset;           // kTopicItems: the 22 topic items of the menu array named
};
constexpr int kTopicItems = -1;

struct Literal {
    const char* control;
    const char* text;
};

struct WindowCaptions {
    const char* window;
    std::vector<CaptionRow> rows;
    std::vector<Literal> hungarian;  // applied after the rows when the base is 116
    // The window's name by working language (16, 116, 216, 316), for the title
    // "Quizmora Hungarian  ----  name" and the message boxes; empty for the
    // windows whose title stays as designed.
    std::array<const char*, 4> names{};
};

// The interface texts of the 22 topic positions, in menu order (the same
// positions as the item bank's topic table).
struct TopicCaption {
    int offset;                  // interface text of its menu item and label
    const char* hungarianMenu;   // practice window in Hungarian: fixed menu text,
    const char* hungarianLabel;  // and topic label text (nullptr: the table text)
};
extern const std::array<TopicCaption, 22> kTopicCaptions;

extern const WindowCaptions kQuizspCaptions;
extern const WindowCaptions kSobreCaptions;
extern const WindowCaptions kForm1Captions;
extern const WindowCaptions kSpgyakCaptions;
extern const WindowCaptions kSptestCaptions;
extern const WindowCaptions kHibatstCaptions;

// What a table sets, in order: (control or "" for the window title, text).
// The window's name is chosen by the base; a base that is none of the four
// leaves it as it was (msgTitle is both in and out). The window applies the
// list with tk::applyCaptions.
std::vector<std::pair<QString, QString>> captionsFor(const WindowCaptions& table, int langBase, QString& msgTitle);

// The title of an activity window: "Quizmora Hungarian  ----  " + its name.
QString composedTitle(const QString& msgTitle);

// Texts of this program that the interface table does not hold, in English,
// Hungarian and Spanish (French falls back to English).
enum class Extra {
    BankCannotBeOpened,  // first line of the message when the item bank cannot be opened
    DuplicateSerial,     // editor: %1 is the serial number another item already has
    NewItemNotBegun,     // editor: New could not begin an item
    ReorderFailed,       // the reorder stopped and was undone: no item was changed
    // Why the item bank could not be used; %1 is the file's path.
    BankInUse,           // locked or in use by another program
    BankDiskFull,        // no space left on its disk
    BankDamaged,         // its pages are damaged
    BankFileReadOnly,    // the file is read-only
    BankFolderReadOnly,  // its folder is read-only
    BankNotRegularFile,  // a folder, a pipe, a device or a link to nothing
    BankForeign,         // not an item bank of this program
    BankMissing,         // not there
    BankOtherFailure,    // anything else
};
QString extraText(Extra id, int langBase);
// The cause line that matches an engine error number.
Extra bankCause(int errorNumber);

}  // namespace i18n
