#include "app/qz_test.h"

#include <QCoreApplication>

#include "i18n/texts.h"

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

QString text(int k) { return i18n::text(k, LangBase); }
QString text_id(int id) { return i18n::text_id(id); }

void resetGlobals() {
    LangBase = 0;
    DbPath.clear();
    SplashDone = 0;
    SentenceCount = 0;
    DelayMs = 0;
    ItemNo = RightCount = ShownNo = 0;
    ScorePct = 0;
}

}  // namespace qz_test
