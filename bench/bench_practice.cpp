// The practice window on a bank of 32,767 items, as the user drives it: the
// window's load, Start, sequential Next, random Next and a topic choice, each
// up to the item's labels being filled. Runs on Qt's offscreen platform.
//
//   build/bench/bench_practice --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// BM_RandomNextResources also reports the open files and the resident memory
// before and after 10,000 random Nexts in a row (counters files_before,
// files_after, rss_kib_before, rss_kib_after).

#include <QApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <memory>

#include "app/qz_test.h"
#include "benchkit.h"
#include "bigbank.h"
#include "practice/spgyak.h"
#include "toolkit/dialogs.h"
#include "toolkit/runtime.h"

namespace {

bigbank::Bank& bank() {
    static bigbank::Bank b;
    return b;
}

// A fresh runtime and the practice window's object, unloaded.
struct Fixture {
    tk::ScriptedDialogs dialogs;
    Fixture() {
        tk::Runtime::instance().reset();
        qz_test::resetGlobals();
        tk::setDialogs(&dialogs);
        qz_test::LangBase = 16;
        qz_test::DbPath = bank().path;
    }
    ~Fixture() {
        tk::Runtime::instance().reset();
        tk::setDialogs(nullptr);
    }
    Spgyak& window() { return tk::form<Spgyak>(); }
    // The window shown and started in random mode.
    Spgyak& started() {
        Spgyak& w = window();
        w.Show();
        w.Command3.click();
        return w;
    }
};

// What the event loop does between two clicks: deferred deletions and posted
// events, so that they do not pile up over the iterations.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int openFiles() { return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size()); }

long rssKib() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// From the click that opens the window to its first selection being ready
// and the window shown (the events of its showing handled).
void BM_WindowLoad(benchmark::State& state) {
    Fixture f;
    Spgyak& w = f.window();
    for (auto _ : state) {
        w.Show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.Unload();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowLoad)->Unit(benchmark::kMillisecond);

void BM_Start(benchmark::State& state) {
    Fixture f;
    Spgyak& w = f.window();
    for (auto _ : state) {
        state.PauseTiming();
        w.Unload();
        settle();
        w.Show();
        settle();
        state.ResumeTiming();
        w.Command3.click();
    }
}
BENCHMARK(BM_Start)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_SequentialNext(benchmark::State& state) {
    Fixture f;
    Spgyak& w = f.window();
    w.Show();
    w.mnuTopicItem(0).trigger();
    w.Command3.click();
    for (auto _ : state) w.Command2.click();
    if (f.dialogs.count(tk::ScriptedDialogs::Kind::MsgBox) > 1) state.SkipWithError("unexpected messages");
}
BENCHMARK(BM_SequentialNext)->Unit(benchmark::kMicrosecond);

void BM_RandomNext(benchmark::State& state) {
    Fixture f;
    Spgyak& w = f.started();
    for (auto _ : state) w.Command10.click();
    if (qz_test::ItemNo < 2) state.SkipWithError("no item drawn");
}
BENCHMARK(BM_RandomNext)->Unit(benchmark::kMillisecond);

void BM_TopicChoice(benchmark::State& state) {
    Fixture f;
    Spgyak& w = f.started();
    int topic = 0;
    const int topics[] = {0, 1, 12, 21};  // topics the big bank holds
    for (auto _ : state) w.mnuTopicItem(topics[topic++ % 4]).trigger();
    if (!f.dialogs.calls().empty()) state.SkipWithError("a topic was empty");
}
BENCHMARK(BM_TopicChoice)->Unit(benchmark::kMillisecond);

void BM_RandomNextResources(benchmark::State& state) {
    Fixture f;
    Spgyak& w = f.started();
    w.Command10.click();  // the first draw reads the highest serial number
    const int filesBefore = openFiles();
    const long rssBefore = rssKib();
    for (auto _ : state)
        for (int i = 0; i < int(state.range(0)); ++i) w.Command10.click();
    state.counters["files_before"] = filesBefore;
    state.counters["files_after"] = openFiles();
    state.counters["rss_kib_before"] = double(rssBefore);
    state.counters["rss_kib_after"] = double(rssKib());
}
BENCHMARK(BM_RandomNextResources)->Arg(10000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return benchkit::runOffscreen(argc, argv, [] { bank(); });  // the bank is built before the first run
}
