// The launcher's reorder, as the user starts it (a click on the prompt), on a
// bank of 32,767 items. Runs on Qt's offscreen platform.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_launcher

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "dialogs.h"
#include "itembank.h"
#include "quizsp.h"
#include "qz_test.h"

namespace {

constexpr int kItems = 32767;

void BM_ReorderFromTheLauncher(benchmark::State& state) {
    QTemporaryDir dir;
    std::vector<itembank::Item> items;
    for (int n = 1; n <= kItems; ++n) {
        itembank::Item it;
        it.sorszam = n;
        it.szint = 1 + n % 3;
        it.kulcs1 = QStringLiteral("1");
        it.kulcs2 = QStringLiteral("a");
        it.sorrend2 = 1 + n % 3000;
        it.felelet2 = QStringLiteral("A");
        it.mondat = QStringLiteral("A szomszédék tegnap este _____ a kertben (%1).").arg(n);
        it.a = QStringLiteral("vacsoráztak");
        it.b = QStringLiteral("vacsoráznak");
        it.c = QStringLiteral("vacsorázni");
        it.d = QStringLiteral("vacsorázott");
        it.felelet1 = QStringLiteral("A szomszédék tegnap este vacsoráztak a kertben.");
        items.push_back(it);
    }
    itembank::createItemBank(dir.filePath(QStringLiteral("qz_data.mdb")), items);
    qz_test::setAppDirForTests(dir.path());
    qz_test::LangBase = 16;
    tk::ScriptedDialogs dialogs;
    tk::setDialogs(&dialogs);
    Quizsp& launcher = tk::form<Quizsp>();
    launcher.Show();
    for (auto _ : state) launcher.change_Click();
    if (!dialogs.calls().empty()) state.SkipWithError("the reorder reported a failure");
    launcher.Unload();
}
BENCHMARK(BM_ReorderFromTheLauncher)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
