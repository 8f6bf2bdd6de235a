#!/usr/bin/env bash
# The Windows part of the test command: the cross-built suites under Wine, morvinpc.exe list
# against the Linux morvinpc list on the same generated tree, and the codec tables of both
# systems compared. Arguments: the cross build directory and the native build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
win=${1:-build-win}
native=${2:-build}
run="env MORVI_WINEPREFIX=$PWD/$win/wineprefix bash cmake/wine-run.sh"

for suite in morvi_data_tests morvi_dialog_tests morvi_cli_tests; do
    echo "== $suite under Wine"
    $run "$win/tests/$suite.exe" --gtest_brief=1 2>&1 | tee "$win/$suite.log" | grep -E '^\[ +(PASSED|SKIPPED|FAILED) +\]|tests from .* ran' || true
    if grep -q '^\[  FAILED  \]' "$win/$suite.log" || ! grep -q '^\[  PASSED  \]' "$win/$suite.log"; then
        echo "$suite failed under Wine (log: $win/$suite.log)"
        exit 1
    fi
done

echo "== the real window under Wine and Xvfb"
MORVI_MAKE_TREE="$PWD/$native/morvi_make_tree" MORVI_WINEPREFIX="$PWD/$win/wineprefix" \
    bash scripts/test-win32-window.sh "$win/tests/win32/morvi_win32_window_test.exe" "$win/tests/win32/window-test"

echo "== both windows' texts at 100 %, 150 % and 200 % under Wine"
MORVI_MAKE_TREE="$PWD/$native/morvi_make_tree" MORVI_WINEPREFIX="$PWD/$win/wineprefix" \
    bash scripts/test-win32-dpi.sh "$win/tests/win32/morvi_win32_fit_test.exe" "$win/tests/win32/label-fit"

echo "== morvinpc.exe list under Wine against morvinpc list"
tree="$PWD/$win/list-tree"
rm -rf "$tree"
"$native/morvi_make_tree" "$tree" --seed 11 --maps 2 --files 12 --records 4 >/dev/null
for map in 0 1; do
    for format in "" "--format csv"; do
        "$native/morvinpc" list "$map" --server "$tree" $format --all >"$win/list-linux.txt"
        $run "$win/morvinpc.exe" list "$map" --server "Z:${tree//\//\\}" $format --all 2>/dev/null | tr -d '\r' \
            | sed 's#\\#/#g' >"$win/list-windows.txt"
        sed 's#\\#/#g' "$win/list-linux.txt" >"$win/list-linux-slashes.txt"
        diff -u "$win/list-linux-slashes.txt" "$win/list-windows.txt"
        echo "map $map ${format:-table}: $(wc -l <"$win/list-linux.txt") lines identical"
    done
done

echo "== GBK tables: glibc against Windows' code page 936"
MORVI_GBK_TABLE="$PWD/$win/gbk-linux.txt" "$native/tests/morvi_data_tests" --gtest_filter='GbkTable.*' --gtest_brief=1 >/dev/null
MORVI_GBK_TABLE="Z:${PWD//\//\\}\\$win\\gbk-windows.txt" $run "$win/tests/morvi_data_tests.exe" --gtest_filter='GbkTable.*' --gtest_brief=1 >/dev/null
bash scripts/compare-gbk-tables.sh "$win/gbk-linux.txt" "$win/gbk-windows.txt" | tee "$win/gbk-differences.txt"
