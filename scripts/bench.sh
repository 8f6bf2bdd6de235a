#!/usr/bin/env bash
# Builds the benchmark and the morvinpc it runs in Release (build-bench/), generates its
# workload once (cached in build-bench/workload/) and prints the table: every figure beside a
# floor measured in the same run, medians of several runs. Run it on an otherwise idle machine.
# Where permitted, the cold-cache figure drops the system's page cache before each run.
#
# MORVI_BENCH_RUNS sets the number of runs per figure (default 7, at least 5 is sensible).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVI_BUILD_BENCH=ON \
      -DMORVI_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$jobs" --target morvi_bench
echo "== $(nproc) cores; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen build-bench/bench/morvi_bench build-bench/workload --runs "${MORVI_BENCH_RUNS:-7}"
echo "== load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
