// The spreadsheet round trip: export of the largest bank, the reading and
// checking of a file the size of the default bank, and the replacement of
// every item of the largest bank (with its copy to <bank>.bak).

#include <QFile>
#include <benchmark/benchmark.h>

#include "bigbank.h"
#include "itembank/exchange.h"

namespace {

void BM_Export32767(benchmark::State& state) {
    bigbank::Bank bank;
    const QString tsv = bank.dir.filePath(QStringLiteral("items.tsv"));
    for (auto _ : state) benchmark::DoNotOptimize(itembank::exportBank(bank.path, tsv));
}
BENCHMARK(BM_Export32767)->Unit(benchmark::kMillisecond);

void BM_ReadAndCheckImport550(benchmark::State& state) {
    QFile f(QStringLiteral(":/itembank.tsv"));
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        const itembank::ImportReading r = itembank::readImport(bytes);
        if (!r.problems.isEmpty()) state.SkipWithError("the default bank did not pass");
        benchmark::DoNotOptimize(r.rows.size());
    }
}
BENCHMARK(BM_ReadAndCheckImport550)->Unit(benchmark::kMillisecond);

void BM_ReplaceItems32767(benchmark::State& state) {
    bigbank::Bank bank;
    std::vector<itembank::ImportRow> rows;
    int line = 2;
    for (const itembank::Item& it : itembank::readBankItems(bank.path)) rows.push_back({line++, it});
    for (auto _ : state) itembank::replaceItems(bank.path, rows);
}
BENCHMARK(BM_ReplaceItems32767)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
