#!/usr/bin/env bash
# Builds the benchmark and the morvinpc it runs in Release (build-bench/), generates its
# workload once (cached in build-bench/workload/) and prints the table: every figure beside a
# floor measured in the same run, medians of several runs. Run it on an otherwise idle machine.
# Where permitted, the cold-cache figure drops the system's page cache before each run.
#
# MORVI_BENCH_RUNS sets the number of runs per figure (default 7, at least 5 is sensible).
# Options are handed to the benchmark program: --only dialog|window|cli|bulk|find|view runs that part
# alone (the window logic's load always runs), --files N a smaller map in its own workload.
#   bash scripts/bench.sh [--only PART] [--files N]
set -euo pipefail
if [[ "${1:-}" == "--help" || "${1:-}" == "-h" ]]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
    exit 0
fi
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVI_BUILD_BENCH=ON \
      -DMORVI_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$jobs" --target morvi_bench
echo "== $(nproc) cores; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
workload=build-bench/workload
for ((i = 1; i <= $#; ++i)); do
    if [[ "${!i}" == "--files" ]]; then j=$((i + 1)); workload="build-bench/workload-${!j}"; fi
done
QT_QPA_PLATFORM=offscreen build-bench/bench/morvi_bench "$workload" --runs "${MORVI_BENCH_RUNS:-7}" "$@"
echo "== load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
