// The test window's advances and the review's Start and Next, as the user
// starts them, on a bank of 32,767 items. Every advance scores a wrong pick,
// so each one also appends a failed item to hiba1. Runs on Qt's offscreen
// platform.
//
//   build/bench/bench_test --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <QApplication>
#include <benchmark/benchmark.h>

#include "benchkit.h"
#include "bigbank.h"
#include "app/qz_test.h"
#include "itembank/database.h"
#include "review/hibatst.h"
#include "test/sptest.h"
#include "toolkit/dialogs.h"

namespace {

struct Session {
    bigbank::Bank bank;
    tk::ScriptedDialogs dialogs;
    Session() {
        benchkit::useBank(bank, dialogs);
        qz_test::SentenceCount = 0;
        qz_test::DelayMs = 0;
    }
    ~Session() {
        tk::Runtime::instance().reset();
        tk::setDialogs(nullptr);
    }
};

// A pick that is not the right letter of the shown item.
void pickWrong(Sptest& t) {
    if (t.Label10.Caption() == QStringLiteral("A")) t.Option3D2.setValue(true);
    else t.Option3D1.setValue(true);
}

// A pick that is the right letter: nothing is written.
void pickRight(Sptest& t) {
    const QString right = t.Label10.Caption();
    tk::OptionButton* o[] = {&t.Option3D1, &t.Option3D2, &t.Option3D3, &t.Option3D4};
    o[right.isEmpty() ? 0 : right.at(0).unicode() - 'A']->setValue(true);
}

// First argument: 0 sequential, 1 random, 2 timed. Second: 1 a wrong pick
// (the advance records a failed item), 0 a right one (nothing is written).
void BM_TestAdvance(benchmark::State& state) {
    Session s;
    Sptest& t = tk::form<Sptest>();
    t.Show();
    const int mode = static_cast<int>(state.range(0));
    if (mode == 0) t.beg_Click(0);
    if (mode == 2) t.mnuTiempoItem_Click(0);
    t.Command3_Click();
    for (auto _ : state) {
        if (state.range(1)) pickWrong(t);
        else pickRight(t);
        if (mode == 0) t.Command2_Click();
        else if (mode == 1) t.Command4_Click();
        else t.Timer1.tick();
    }
    if (qz_test::ItemNo != static_cast<int>(state.iterations()) + 1) state.SkipWithError("an advance failed");
    t.Unload();
}
BENCHMARK(BM_TestAdvance)->ArgsProduct({{0, 1, 2}, {1, 0}})->Unit(benchmark::kMillisecond)->Iterations(400);

// hiba1 with the placeholder row and 1,000 failed items.
void fillFailed(const QString& path) {
    auto db = db::DBEngine::OpenDatabase(path);
    auto rs = db->OpenDynaset(QStringLiteral("hiba1"));
    db::Transaction tr(*db);
    for (int i = 1; i <= 1000; ++i) {
        rs->AddNew();
        rs->setField(QStringLiteral("hiba"), db::Value(QStringLiteral("0")));
        rs->setField(QStringLiteral("mondat"), db::Value(QStringLiteral("A szomszédék tegnap _____ (%1).").arg(i)));
        for (const char* f : {"a", "b", "c", "d"}) rs->setField(QString::fromLatin1(f), db::Value(QStringLiteral("vacsoráztak")));
        rs->setField(QStringLiteral("felelet1"), db::Value(QStringLiteral("Past tense, 3rd person plural.")));
        rs->setField(QStringLiteral("felelet2"), db::Value(QStringLiteral("A")));
        rs->Update();
    }
    tr.commit();
}

void BM_ReviewStart(benchmark::State& state) {
    Session s;
    fillFailed(s.bank.path);
    Hibatst& r = tk::form<Hibatst>();
    r.Show();
    for (auto _ : state) r.Command1_Click();
    if (r.Label31.Caption() != QStringLiteral("1000")) state.SkipWithError("the list is not the 1,000 items");
    tk::Runtime::instance().reset();  // leaves the items: the review never closes here
}
BENCHMARK(BM_ReviewStart)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ReviewNext(benchmark::State& state) {
    Session s;
    fillFailed(s.bank.path);
    Hibatst& r = tk::form<Hibatst>();
    r.Show();
    r.Command1_Click();
    for (auto _ : state) r.Command4_Click();
    if (!s.dialogs.calls().empty()) state.SkipWithError("reached the end of the list");
    tk::Runtime::instance().reset();
}
BENCHMARK(BM_ReviewNext)->Unit(benchmark::kMillisecond)->Iterations(900);

}  // namespace

int main(int argc, char** argv) { return benchkit::runOffscreen(argc, argv); }
