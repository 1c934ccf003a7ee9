#include "app/qz_test.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include "app/tasks.h"
#include "core/error.h"
#include "i18n/captions.h"
#include "i18n/texts.h"
#include "itembank/database.h"
#include "toolkit/dialogs.h"
#include "toolkit/form.h"

namespace qz_test {

std::int16_t LangBase = 0;
QString DbPath;
std::int16_t SplashDone = 0;
int SentenceCount = 0;
int DelayMs = 0;
int ItemNo = 0;
int RightCount = 0;
int ShownNo = 0;
std::int16_t ScorePct = 0;

QString AppDir(const QString& directory) {
    if (directory.endsWith(QLatin1Char('/'))) return directory;
    return directory + QLatin1Char('/');
}

namespace {
QString appDirForTests;
}

QString AppDir() {
    return AppDir(appDirForTests.isEmpty() ? QCoreApplication::applicationDirPath() : appDirForTests);
}

void setAppDirForTests(const QString& directory) { appDirForTests = directory; }

namespace {
QString bankFile;
const QString kBankName = QStringLiteral("qz_data.mdb");

// A folder the program may create its bank in: one the user may write and
// whose mode lets someone write (the engine honours a read-only mode for
// every user, the administrator included).
bool folderWritable(const QString& folder) {
    const QFileInfo info(folder);
    const QFile::Permissions p = info.permissions();
    return info.isDir() && info.isWritable() && (p & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}
}  // namespace

QString chooseBankPath(const QString& programFolder, const QString& dataFolder) {
    const QString beside = AppDir(programFolder) + kBankName;
    if (QFileInfo::exists(beside) || folderWritable(programFolder)) return beside;
    QDir().mkpath(dataFolder);
    return AppDir(dataFolder) + kBankName;
}

QString dataFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QString bankPath() {
    if (!bankFile.isEmpty()) return bankFile;
    return chooseBankPath(AppDir(), dataFolder());
}

void setBankFile(const QString& path) { bankFile = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath(); }

QString text(int k) { return i18n::text(k, LangBase); }
QString text_id(int id) { return i18n::text_id(id); }

QString optionLetter(int index) { return QString(QChar(u'A' + index)); }

QString bankErrorText(const qz::Error& e) {
    return i18n::extraText(i18n::bankCause(e.number()), LangBase).arg(QDir::toNativeSeparators(DbPath)) +
           QStringLiteral("\n\n") + e.message();
}

void reportBankError(const qz::Error& e, const QString& title) {
    // The cause line names the file, wherever the bank lives.
    tk::MsgBox(i18n::extraText(i18n::Extra::BankCannotBeOpened, LangBase) + QStringLiteral("\n\n") + bankErrorText(e),
               tk::vbCritical, title);
}

void leaveForLauncher(tk::Form& window, const qz::Error& e) {
    reportBankError(e, window.Loaded() ? window.Caption() : window.Name());
    window.Unload();
    // The launcher comes back once the event that opened this window is
    // over: that event may still close the window it came from.
    QTimer::singleShot(0, qApp, [] { tasks::show(tasks::Launcher); });
}

std::shared_ptr<db::Database> openBankOrLeave(tk::Form& window) {
    try {
        return db::DBEngine::OpenDatabase(DbPath);
    } catch (const qz::Error& e) {
        leaveForLauncher(window, e);
        return nullptr;
    }
}

void resetGlobals() {
    LangBase = 0;
    DbPath.clear();
    bankFile.clear();
    SplashDone = 0;
    SentenceCount = 0;
    DelayMs = 0;
    ItemNo = RightCount = ShownNo = 0;
    ScorePct = 0;
}

}  // namespace qz_test
