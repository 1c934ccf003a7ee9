// The item-bank editor's handlers as the user starts them (a click), on a
// bank of 32,767 items. Runs on Qt's offscreen platform.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_editor

#include <QApplication>
#include <benchmark/benchmark.h>

#include "app/qz_test.h"
#include "benchkit.h"
#include "bigbank.h"
#include "editor/form1.h"
#include "toolkit/dialogs.h"

namespace {

bigbank::Bank& bank() {
    static bigbank::Bank b;
    return b;
}

tk::ScriptedDialogs& dialogs() {
    static tk::ScriptedDialogs d;
    return d;
}

// The editor on the big bank, loaded and started.
Form1& startedEditor() {
    benchkit::useBank(bank(), dialogs());
    Form1& f = tk::form<Form1>();
    f.Show();
    if (!f.SerialTable.isSet()) f.Command10_Click();
    return f;
}

void BM_EditorStart(benchmark::State& state) {
    Form1& f = startedEditor();
    for (auto _ : state) {
        state.PauseTiming();
        f.Unload();
        f.Show();
        state.ResumeTiming();
        f.Command10_Click();
    }
    if (!f.SerialTable.isSet()) state.SkipWithError("Start failed");
}
BENCHMARK(BM_EditorStart)->Unit(benchmark::kMillisecond);

void BM_EditorNextPrevious(benchmark::State& state) {
    Form1& f = startedEditor();
    f.Command6_Click();
    bool forward = true;
    for (auto _ : state) {
        if (forward) f.Command7_Click();
        else f.Command3_Click();
        forward = !forward;
    }
}
BENCHMARK(BM_EditorNextPrevious)->Unit(benchmark::kMicrosecond);

void BM_EditorFirstLast(benchmark::State& state) {
    Form1& f = startedEditor();
    bool last = true;
    for (auto _ : state) {
        if (last) f.Command8_Click();
        else f.Command6_Click();
        last = !last;
    }
}
BENCHMARK(BM_EditorFirstLast)->Unit(benchmark::kMicrosecond);

// New: the highest serial number, a new row, the order key. The begun item
// is dropped again (untimed) so that the bank stays as it was.
void BM_EditorNew(benchmark::State& state) {
    Form1& f = startedEditor();
    for (auto _ : state) {
        f.Command1_Click();
        state.PauseTiming();
        f.Data1.Recordset()->CancelUpdate();
        f.NewPending = 0;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditorNew)->Unit(benchmark::kMillisecond);

// Delete of an item just added (stored by the move to it, untimed): the row
// goes from the file and the view moves one back.
void BM_EditorDelete(benchmark::State& state) {
    Form1& f = startedEditor();
    for (auto _ : state) {
        state.PauseTiming();
        f.Command1_Click();
        f.Text3.setText(QStringLiteral("Új mondat _____."));
        f.Command8_Click();
        state.ResumeTiming();
        f.Command4_Click();
    }
    if (f.Data1.Recordset()->RecordCount() != bigbank::kItems) state.SkipWithError("an item was left over");
}
BENCHMARK(BM_EditorDelete)->Unit(benchmark::kMillisecond);

void BM_EditorTopicFiling(benchmark::State& state) {
    Form1& f = startedEditor();
    f.Command6_Click();
    int topic = 1;
    for (auto _ : state) {
        f.mnutopicItem_Click(topic);
        topic = topic == 1 ? 11 : 1;
    }
}
BENCHMARK(BM_EditorTopicFiling)->Unit(benchmark::kMillisecond);

// Find first of a word that no sentence has: every sentence is read.
void BM_EditorFindFirstLike(benchmark::State& state) {
    Form1& f = startedEditor();
    for (auto _ : state) {
        dialogs().queueInput(QStringLiteral("mondat Like \"*nincs ilyen*\""));
        f.Command5_Click();
    }
    if (dialogs().count(tk::ScriptedDialogs::Kind::MsgBox) == 0) state.SkipWithError("found");
    dialogs().clear();
}
BENCHMARK(BM_EditorFindFirstLike)->Unit(benchmark::kMillisecond);

// Find next from the first item to the last one, the only match.
void BM_EditorFindNextLike(benchmark::State& state) {
    Form1& f = startedEditor();
    f.SearchCriteria = QStringLiteral("mondat Like \"*(32767)*\"");
    for (auto _ : state) {
        state.PauseTiming();
        f.Command6_Click();
        state.ResumeTiming();
        f.Command11_Click();
    }
    if (f.Text1.Text() != QStringLiteral("32767")) state.SkipWithError("not found");
}
BENCHMARK(BM_EditorFindNextLike)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchkit::runOffscreen(argc, argv); }
