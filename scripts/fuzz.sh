#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a while (default 60 s):
# the condition fuzzer from the hostile corpus of the tests, the bank-file
# fuzzer on mutations of the default bank.
#   scripts/fuzz.sh [seconds] [condition|bankfile|all]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
seconds="${1:-60}"
which="${2:-all}"
if [ ! -f build-fuzz/build.ninja ]; then
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQZ_BUILD_FUZZ=ON -DQZ_BUILD_TESTS=OFF -DQZ_BUILD_BENCH=OFF
fi
if [ "$which" = condition ] || [ "$which" = all ]; then
  cmake --build build-fuzz --target fuzz_condition
  seeds=build-fuzz/seeds
  mkdir -p "$seeds" build-fuzz/corpus
  n=0
  while IFS= read -r line; do
    case "$line" in "#"*|"") continue ;; esac
    n=$((n + 1))
    printf '%s' "$line" > "$seeds/hostile-$n"
  done < tests/corpus/hostile.txt
  build-fuzz/fuzz/fuzz_condition -max_total_time="$seconds" -max_len=4096 build-fuzz/corpus "$seeds" 2>&1 | tail -n 5
fi
if [ "$which" = bankfile ] || [ "$which" = all ]; then
  cmake --build build-fuzz --target fuzz_bankfile
  mkdir -p build-fuzz/corpus-bankfile
  # -timeout: an input that takes longer than 10 s counts as a hang.
  build-fuzz/fuzz/fuzz_bankfile -max_total_time="$seconds" -timeout=10 -max_len=2048 \
    build-fuzz/corpus-bankfile 2>&1 | tail -n 5
fi
