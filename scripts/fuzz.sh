#!/usr/bin/env bash
# Builds the condition fuzzer with clang and runs it for a while (default 60 s),
# starting from the hostile corpus of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
seconds="${1:-60}"
if [ ! -f build-fuzz/build.ninja ]; then
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQZ_BUILD_FUZZ=ON -DQZ_BUILD_TESTS=OFF -DQZ_BUILD_BENCH=OFF
fi
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
