#pragma once
// Shared set-up for the window tests: a scripted dialog service, a fresh
// runtime and fresh module values for every test function, and small helpers
// for driving windows as a user would.

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "toolkit/dialogs.h"
#include "app/qz_test.h"
#include "toolkit/random.h"
#include "toolkit/runtime.h"

namespace testkit {

// Installs the scripted dialogs and resets the runtime; undoes both at the end.
class Session {
public:
    Session() {
        tk::Runtime::instance().reset();
        qz_test::resetGlobals();
        tk::setDialogs(&dialogs);
        tk::fixRandomSeed(12345);
        qz_test::setAppDirForTests(folder.path());
        // The user's data folder too is the test's own.
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("data-home"))));
    }
    // The program's folder for this test: the item bank is created here.
    QTemporaryDir folder;
    ~Session() {
        tk::Runtime::instance().reset();
        tk::setDialogs(nullptr);
        tk::unfixRandomSeed();
        qz_test::setAppDirForTests(QString());
        if (savedDataHome_.isEmpty()) qunsetenv("XDG_DATA_HOME");
        else qputenv("XDG_DATA_HOME", savedDataHome_);
    }
    tk::ScriptedDialogs dialogs;

private:
    QByteArray savedDataHome_;
};

// Where the session's item bank lives: qz_data.mdb in its program folder.
inline QString bankPath(const Session& s) { return s.folder.filePath(QStringLiteral("qz_data.mdb")); }

// Lets deferred deletions and posted events run.
inline void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Types one key where the window's keyboard focus is, as a user would.
inline void typeKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, mods);
}

// Types text into a widget key by key, Hungarian letters included.
inline void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

inline void typeChar(QWidget* window, char c) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, c);
}

}  // namespace testkit
