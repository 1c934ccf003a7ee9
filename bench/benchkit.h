#pragma once
// Shared set-up for the window benchmarks: the windows pointed at a big bank
// with scripted dialogs, and a main() on Qt's offscreen platform.

#include <QApplication>
#include <benchmark/benchmark.h>

#include "app/qz_test.h"
#include "bigbank.h"
#include "toolkit/dialogs.h"

namespace benchkit {

// Points the windows at the bank (program folder and bank file), in English
// (LangBase 16), with the dialogs answered by the given script.
inline void useBank(const bigbank::Bank& bank, tk::ScriptedDialogs& dialogs) {
    qz_test::setAppDirForTests(bank.dir.path());
    qz_test::DbPath = bank.path;
    qz_test::LangBase = 16;
    tk::setDialogs(&dialogs);
}

// The body of a window benchmark's main(): an application on the offscreen
// platform, then the benchmarks; beforeRuns runs once before the first.
template <class F = void (*)()>
int runOffscreen(int argc, char** argv, F beforeRuns = [] {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    beforeRuns();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace benchkit
