#pragma once
// Module qz_test: the values shared between windows for the whole run, and the
// helpers every window uses. Nothing else passes between windows.

#include <QString>
#include <cstdint>
#include <memory>

namespace qz {
class Error;
}
namespace db {
class Database;
}
namespace tk {
class Form;
}

namespace qz_test {

// Interface-text base of the working language: 16 English, 116 Hungarian,
// 216 Spanish. Holds nothing until a language button is pressed.
extern std::int16_t LangBase;
// The item bank, set at every launcher load from bankPath().
extern QString DbPath;
// 1 once the start-up splash has handed over or About was opened from the menu.
extern std::int16_t SplashDone;
// The test's number of sentences (0 = no limit) and per-item delay (ms, 0 = none).
extern int SentenceCount;
extern int DelayMs;
// Run counters of the practice and test windows, and the last score.
extern int ItemNo;
extern int RightCount;
extern int ShownNo;
extern std::int16_t ScorePct;

// The program's own directory with exactly one trailing "/".
QString AppDir();
// The same rule for a given directory: "/" stays "/", anything else gets one
// "/" appended unless it already ends in one.
QString AppDir(const QString& directory);

// Where the item bank lives: a bank given on the command line (setBankFile);
// otherwise "qz_data.mdb" beside the program (AppDir()) when it is there or
// the program's folder can be written; otherwise the same name in the user's
// data folder (Qt's application-data location).
QString bankPath();
// The same choice for given folders, without the command line.
QString chooseBankPath(const QString& programFolder, const QString& dataFolder);
// The user's data folder for the item bank (not created here).
QString dataFolder();
// The item bank named on the command line (empty: the usual place).
void setBankFile(const QString& path);

// The interface text at offset k in the working language.
QString text(int k);
// The interface text with a fixed identifier.
QString text_id(int id);

// The letter of an item's option 0..3: "A" to "D" (the pick the windows compare
// with the stored solution, and the caption beside each option).
QString optionLetter(int index);

// Why the item bank at DbPath could not be used, in the working language
// (in use, disk full, damaged, read-only file or folder, not a regular file,
// not an item bank), naming the file, followed by the engine's own text.
QString bankErrorText(const qz::Error& e);
// The item bank could not be opened: says so in a stop box titled as given,
// in the working language, naming the file and the reason.
void reportBankError(const qz::Error& e, const QString& title);
// Opens the item bank at DbPath for a window that is loading. When it cannot
// be opened, says so (reportBankError), unloads the window and shows the
// launcher once the current event is over, and answers nullptr: a window
// never stays open without its bank.
std::shared_ptr<db::Database> openBankOrLeave(tk::Form& window);
// The same for a window whose bound view failed to open at load.
void leaveForLauncher(tk::Form& window, const qz::Error& e);

// Tests: every value back to its program-start state.
void resetGlobals();
// Tests: AppDir() answers this folder instead of the program's (empty: the
// program's own again).
void setAppDirForTests(const QString& directory);

}  // namespace qz_test
