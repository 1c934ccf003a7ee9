// The item-bank engine at the largest bank the program allows: 32,767 items.
//
//   build/bench/bench_itembank --benchmark_min_time=0.5

#include <QCoreApplication>
#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

#include "bigbank.h"
#include "itembank/database.h"
#include "core/error.h"
#include "itembank/itembank.h"
#include "itembank/selection.h"

namespace {

constexpr int kItems = bigbank::kItems;

bigbank::Bank& bank() {
    static bigbank::Bank b;
    return b;
}

void BM_OpenDatabase(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(db::DBEngine::OpenDatabase(bank().path));
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMicrosecond);

// The first open of a file in a run (or after it changed): file checks,
// schema check and the quick check of every page. Touching the file makes
// each iteration a first open.
void BM_OpenDatabaseFirstTime(benchmark::State& state) {
    const QByteArray name = QFile::encodeName(bank().path);
    for (auto _ : state) {
        state.PauseTiming();
        ::utimensat(AT_FDCWD, name.constData(), nullptr, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(db::DBEngine::OpenDatabase(bank().path));
    }
}
BENCHMARK(BM_OpenDatabaseFirstTime)->Unit(benchmark::kMillisecond);

// What the random Next of the practice window does per click: open the bank
// and a table handle, then draw.
void BM_OpenBankTableAndDraw(benchmark::State& state) {
    std::int16_t max = 0;
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (auto _ : state) {
        auto database = db::DBEngine::OpenDatabase(bank().path);
        auto t = database->OpenTable(QStringLiteral("test1"));
        t->setIndex(QStringLiteral("sorszam"));
        itembank::drawItem(*t, max, [&] { return u(rng); });
        benchmark::DoNotOptimize(t->field(QStringLiteral("mondat")));
    }
}
BENCHMARK(BM_OpenBankTableAndDraw)->Unit(benchmark::kMillisecond);

void BM_SnapshotOfTable(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    for (auto _ : state) benchmark::DoNotOptimize(database->CreateSnapshot(QStringLiteral("Test1")));
}
BENCHMARK(BM_SnapshotOfTable)->Unit(benchmark::kMillisecond);

void BM_SnapshotSort(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto whole = database->CreateSnapshot(QStringLiteral("Test1"));
    whole->setSort(QStringLiteral("sorrend2"));
    for (auto _ : state) benchmark::DoNotOptimize(whole->CreateSnapshot());
}
BENCHMARK(BM_SnapshotSort)->Unit(benchmark::kMillisecond);

void BM_SnapshotFilter(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto whole = database->CreateSnapshot(QStringLiteral("Test1"));
    whole->setFilter(QStringLiteral("kulcs1 = '1' And kulcs2 = 'a'"));
    for (auto _ : state) benchmark::DoNotOptimize(whole->CreateSnapshot());
}
BENCHMARK(BM_SnapshotFilter)->Unit(benchmark::kMillisecond);

void BM_TopicSelection(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    for (auto _ : state) {
        auto sel = itembank::selectItems(*database, QStringLiteral("kulcs1 = '1' And kulcs2 = 'a'"));
        sel->MoveFirst();
        benchmark::DoNotOptimize(sel);
    }
}
BENCHMARK(BM_TopicSelection)->Unit(benchmark::kMillisecond);

// The first selection on a freshly opened bank reads the whole table.
void BM_FirstSelectionAfterOpen(benchmark::State& state) {
    for (auto _ : state) {
        auto database = db::DBEngine::OpenDatabase(bank().path);
        auto sel = itembank::selectItems(*database, QString::fromUtf8(itembank::kAllLevels));
        sel->MoveFirst();
        benchmark::DoNotOptimize(sel);
    }
}
BENCHMARK(BM_FirstSelectionAfterOpen)->Unit(benchmark::kMillisecond);

void BM_AllLevelsSelection(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    for (auto _ : state) {
        auto sel = itembank::selectItems(*database, QString::fromUtf8(itembank::kAllLevels));
        sel->MoveFirst();
        benchmark::DoNotOptimize(sel);
    }
}
BENCHMARK(BM_AllLevelsSelection)->Unit(benchmark::kMillisecond);

// A starting-point search that runs through the whole selection.
void BM_FindNextAcrossSelection(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto sel = itembank::selectItems(*database, QString::fromUtf8(itembank::kAllLevels));
    for (auto _ : state) {
        sel->MoveFirst();
        sel->FindNext(QStringLiteral("sorrend2 > 3000"));
        if (!sel->NoMatch()) state.SkipWithError("found");
    }
}
BENCHMARK(BM_FindNextAcrossSelection)->Unit(benchmark::kMillisecond);

// The editor's search through the bound view of all items.
void BM_FindFirstAcrossView(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto view = database->OpenDynaset(QStringLiteral("test1"));
    for (auto _ : state) {
        view->FindFirst(QStringLiteral("mondat Like \"*nincs ilyen*\""));
        if (!view->NoMatch()) state.SkipWithError("found");
    }
}
BENCHMARK(BM_FindFirstAcrossView)->Unit(benchmark::kMillisecond);

void BM_Seek(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto t = database->OpenTable(QStringLiteral("test1"));
    t->setIndex(QStringLiteral("sorszam"));
    int key = 1;
    for (auto _ : state) {
        t->Seek(QStringLiteral("="), db::Value(key));
        benchmark::DoNotOptimize(t->field(QStringLiteral("mondat")));
        key = key % kItems + 1;
    }
}
BENCHMARK(BM_Seek)->Unit(benchmark::kMicrosecond);

void BM_RandomDraw(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto t = database->OpenTable(QStringLiteral("test1"));
    t->setIndex(QStringLiteral("sorszam"));
    std::int16_t max = 0;
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (auto _ : state) {
        itembank::drawItem(*t, max, [&] { return u(rng); });
        benchmark::DoNotOptimize(t->field(QStringLiteral("mondat")));
    }
}
BENCHMARK(BM_RandomDraw)->Unit(benchmark::kMicrosecond);

// The launcher's reorder: a new order key for every row, each row stored on
// its own (and able to fail on its own) inside one transaction.
void BM_RewriteAllOrderKeys(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    std::mt19937 rng(11);
    for (auto _ : state) {
        auto view = database->OpenDynaset(QStringLiteral("test1"));
        db::Transaction tx(*database);
        for (view->MoveFirst(); !view->isEOF(); view->MoveNext()) {
            view->Edit();
            view->Fields(QStringLiteral("sorrend2")) = int(rng() % 3000) + 1;
            view->Update();
        }
        tx.commit();
        view->Requery();
    }
}
BENCHMARK(BM_RewriteAllOrderKeys)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AddNewUpdateOneItem(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto view = database->OpenDynaset(QStringLiteral("test1"));
    int serial = 100000;
    for (auto _ : state) {
        view->AddNew();
        view->Fields(QStringLiteral("sorszam")) = serial++;
        view->Fields(QStringLiteral("mondat")) = QStringLiteral("Új mondat _____.");
        view->Fields(QStringLiteral("sorrend2")) = 1500;
        view->Update();
        state.PauseTiming();
        view->MoveLast();
        view->Delete();
        view->MoveFirst();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddNewUpdateOneItem)->Unit(benchmark::kMicrosecond);

// The test appends 100 failed items; the review deletes them all.
void BM_Append100FailedItems(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto hiba = database->OpenDynaset(QStringLiteral("hiba1"));
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            hiba->AddNew();
            for (const char* f : {"hiba", "mondat", "a", "b", "c", "d", "felelet1", "felelet2"})
                hiba->Fields(QString::fromLatin1(f)) = QStringLiteral(" szöveg");
            hiba->Update();
            hiba->MoveLast();
        }
        state.PauseTiming();
        hiba->MoveFirst();
        while (!hiba->isEOF()) {
            hiba->MoveNext();
            if (!hiba->isEOF()) hiba->Delete();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Append100FailedItems)->Unit(benchmark::kMillisecond);

void BM_Delete100FailedItems(benchmark::State& state) {
    auto database = db::DBEngine::OpenDatabase(bank().path);
    auto hiba = database->OpenDynaset(QStringLiteral("hiba1"));
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 100; ++i) {
            hiba->AddNew();
            hiba->Fields(QStringLiteral("hiba")) = QStringLiteral("A");
            hiba->Update();
        }
        state.ResumeTiming();
        hiba->MoveFirst();
        while (!hiba->isEOF()) {
            hiba->MoveNext();
            if (!hiba->isEOF()) hiba->Delete();
        }
    }
}
BENCHMARK(BM_Delete100FailedItems)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    bank();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
