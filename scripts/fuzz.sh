#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang, generates their seed corpora and runs each
# harness for a while; fails when any of them reports a crash, a sanitizer error, a timeout or
# a broken property. Crashing inputs are kept in <build dir>/fuzz-artifacts/<harness>/.
#
#   bash scripts/fuzz.sh [seconds per harness, default 30] [harness ...]
#
# Harnesses: region_read region_write private_profile template_table gbk_codec server_path.
# Environment: MORVI_FUZZ_BUILD (build directory, default build-fuzz), MORVI_FUZZ_JOBS
# (harnesses run at once, default 2), MORVI_FUZZ_CORPUS (keep and grow corpora in this
# directory instead of starting from fresh seeds each time).
set -euo pipefail

run_one() {
    local h="$1" exe="$build/fuzz/fuzz_$1"
    if [ ! -x "$exe" ]; then
        echo "$h: not built (skipped)" > "$work/$h.summary"
        return 0
    fi
    mkdir -p "$corpora/$h" "$work/artifacts/$h" "$work/tmp-$h"
    cp -n "$work/seeds/$h"/* "$corpora/$h/" 2>/dev/null || true
    local maxlen=()
    case "$h" in region_*) maxlen=(-max_len=8192) ;; esac
    local rc=0
    MORVI_FUZZ_TMP="$work/tmp-$h" "$exe" "${maxlen[@]}" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/$h/" \
        "$corpora/$h" > "$work/$h.log" 2>&1 || rc=$?
    local execs cov
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$h.log" | tail -1)
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$work/$h.log" | tail -1)
    printf '%-16s %-5s execs %-10s %s  corpus %s\n' "$h" "$([ $rc -eq 0 ] && echo ok || echo FAIL)" \
        "${execs:-?}" "${cov:-cov: ? ft: ?}" "$(ls "$corpora/$h" | wc -l)" > "$work/$h.summary"
    if [ $rc -ne 0 ]; then
        mkdir -p "$build/fuzz-artifacts/$h"
        cp "$work/artifacts/$h"/* "$build/fuzz-artifacts/$h/" 2>/dev/null || true
        cp "$work/$h.log" "$build/fuzz-artifacts/$h/run.log"
        echo "---- $h failed (exit $rc); log and inputs in $build/fuzz-artifacts/$h/" >&2
        grep -E 'ERROR|property broken|SUMMARY|Test unit written' "$work/$h.log" >&2 || tail -30 "$work/$h.log" >&2
        return 1
    fi
}

# The whole script is one function, so bash has read all of it before anything runs.
main() {
    cd "$(dirname "$0")/.."
    root="$PWD"
    seconds="${1:-30}"
    shift || true
    harnesses=("$@")
    if [ ${#harnesses[@]} -eq 0 ]; then
        harnesses=(region_read region_write private_profile template_table gbk_codec server_path)
    fi
    build="${MORVI_FUZZ_BUILD:-$root/build-fuzz}"
    parallel="${MORVI_FUZZ_JOBS:-2}"

    # libFuzzer and clang's sanitizer runtimes are not pulled in by the clang package itself.
    bash scripts/install-deps.sh libclang-rt-14-dev
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
          -DMORVI_FUZZ=ON -DMORVI_BUILD_GUI=OFF -DMORVI_BUILD_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$parallel" --target morvi_fuzzers

    # Files the harnesses write go to a RAM disk when there is one.
    base=/dev/shm
    [ -d "$base" ] && [ -w "$base" ] || base="${TMPDIR:-/tmp}"
    work="$(mktemp -d "$base/morvi-fuzz-run-XXXXXX")"
    trap 'rm -rf "$work"' EXIT
    "$build/fuzz/morvi_fuzz_seeds" "$work/seeds"
    corpora="${MORVI_FUZZ_CORPUS:-$work/corpus}"

    echo "fuzzing ${#harnesses[@]} harnesses for ${seconds}s each, $parallel at a time"
    failed=0
    running=0
    for h in "${harnesses[@]}"; do
        run_one "$h" &
        running=$((running + 1))
        if [ "$running" -ge "$parallel" ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    for h in "${harnesses[@]}"; do cat "$work/$h.summary" 2>/dev/null || echo "$h: no result"; done
    exit $failed
}

main "$@"
