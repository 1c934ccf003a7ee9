// The launcher's reorder, as the user starts it (a click on the prompt), on a
// bank of 32,767 items. Runs on Qt's offscreen platform.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_launcher

#include <QApplication>
#include <benchmark/benchmark.h>

#include "benchkit.h"
#include "bigbank.h"
#include "toolkit/dialogs.h"
#include "app/quizsp.h"
#include "app/qz_test.h"

namespace {

void BM_ReorderFromTheLauncher(benchmark::State& state) {
    bigbank::Bank bank;
    tk::ScriptedDialogs dialogs;
    benchkit::useBank(bank, dialogs);
    Quizsp& launcher = tk::form<Quizsp>();
    launcher.Show();
    for (auto _ : state) launcher.change_Click();
    if (!dialogs.calls().empty()) state.SkipWithError("the reorder reported a failure");
    launcher.Unload();
}
BENCHMARK(BM_ReorderFromTheLauncher)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return benchkit::runOffscreen(argc, argv); }
