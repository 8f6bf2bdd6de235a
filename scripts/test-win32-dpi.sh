#!/usr/bin/env bash
# Runs tests/win32/LabelFitTest.cpp under Wine and Xvfb at 100 %, 150 % and 200 % (LogPixels 96,
# 144 and 192 of the test's own Wine prefix, changed between runs): every label, button, check
# box and heading of both windows must show its whole text, in every language, and no two
# controls may overlap. Screenshots of each window at each scale land in OUT_DIR/<dpi>/.
#   scripts/test-win32-dpi.sh FIT_TEST_EXE OUT_DIR
# The prefix is MORVI_WINEPREFIX with "-dpi" appended, copied from MORVI_WINEPREFIX when that one
# exists (a new prefix takes long to make). The tree comes from MORVI_MAKE_TREE, else from a
# native build in OUT_DIR/native.
set -euo pipefail
exe=$(readlink -f "$1")
out=$(mkdir -p "$2" && readlink -f "$2")
source_dir=$(cd "$(dirname "$0")/.." && pwd)
wine_bin=$(command -v wine64 || command -v wine)

make_tree=${MORVI_MAKE_TREE:-}
if [ -z "$make_tree" ]; then
    cmake -S "$source_dir" -B "$out/native" -G Ninja -DMORVI_BUILD_GUI=OFF -DMORVI_BUILD_TESTS=OFF >/dev/null
    cmake --build "$out/native" --target morvi_make_tree >/dev/null
    make_tree="$out/native/morvi_make_tree"
fi
rm -rf "$out/tree" "$out/run"
mkdir -p "$out/run"
"$make_tree" "$out/tree" --seed 7 --maps 2 --files 3 --records 4 --templates 20 >/dev/null
tree_win="Z:$(printf '%s' "$out/tree" | tr '/' '\\')"
printf '[MorviConfig]\r\nServerPath=%s\r\nUseDebug=false\r\n' "$tree_win" > "$out/run/MorviConfig.ini"

base_prefix=${MORVI_WINEPREFIX:-$out/wineprefix}
prefix="$base_prefix-dpi"
if [ ! -f "$prefix/system.reg" ] && [ -f "$base_prefix/system.reg" ]; then
    # A copy of the build's prefix, made while no Wine process writes to it.
    exec 9>"$base_prefix.lock"
    flock 9
    WINEPREFIX="$base_prefix" wineserver -w 2>/dev/null || true
    rm -rf "$prefix"
    cp -a "$base_prefix" "$prefix"
    flock -u 9
fi
export MORVI_WINEPREFIX="$prefix"

source "$source_dir/scripts/xvfb.sh"
start_xvfb 141 190 2400x1700x24

status=0
cd "$out/run"
for dpi in 96 144 192; do
    mkdir -p "$out/$dpi"
    rm -f "$out/$dpi"/*.png label-fit.log screenshot-ready screenshot-done
    bash "$source_dir/cmake/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    bash "$source_dir/cmake/wine-run.sh" "$exe" >"$out/$dpi/wine-output.txt" 2>&1 &
    wine_pid=$!
    while kill -0 "$wine_pid" 2>/dev/null; do
        if [ -e screenshot-ready ]; then
            read -r name geometry < screenshot-ready
            rm -f screenshot-ready
            sleep 0.5
            import -display "$display" -window root -crop "$geometry" +repage "$out/$dpi/$name.png" || true
            touch screenshot-done
        fi
        sleep 0.2
    done
    run_status=0
    wait "$wine_pid" || run_status=$?
    wine_pid=""
    cp label-fit.log "$out/$dpi/label-fit.log" 2>/dev/null || echo "no label-fit.log at $dpi DPI" >&2
    grep -E '^FAIL|^PASSED|^FAILED|^system DPI' "$out/$dpi/label-fit.log" 2>/dev/null || true
    [ "$run_status" = 0 ] || status=$run_status
    echo "screenshots at $dpi DPI: $(ls "$out/$dpi"/*.png 2>/dev/null | tr '\n' ' ')"
done
exit "$status"
