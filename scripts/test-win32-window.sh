#!/usr/bin/env bash
# Runs the real Windows window under Wine and Xvfb on a generated server tree: selects a map,
# modifies, adds and deletes through the controls and compares the region files byte for byte
# (tests/win32/WindowTest.cpp), and saves a screenshot of the window.
#   scripts/test-win32-window.sh WINDOW_TEST_EXE OUT_DIR
# OUT_DIR receives the tree, window-test.log and window.png. The tree comes from the native
# tools/morvi_make_tree: MORVI_MAKE_TREE names it, else it is built in OUT_DIR/native.
set -euo pipefail
exe=$(readlink -f "$1")
out=$(mkdir -p "$2" && readlink -f "$2")
source_dir=$(cd "$(dirname "$0")/.." && pwd)

make_tree=${MORVI_MAKE_TREE:-}
if [ -z "$make_tree" ]; then
    cmake -S "$source_dir" -B "$out/native" -G Ninja -DMORVI_BUILD_GUI=OFF -DMORVI_BUILD_TESTS=OFF >/dev/null
    cmake --build "$out/native" --target morvi_make_tree >/dev/null
    make_tree="$out/native/morvi_make_tree"
fi

run="$out/run"
rm -rf "$out/tree" "$run" "$out/window.png" "$out/find-window.png"
mkdir -p "$run"
"$make_tree" "$out/tree" --seed 7 --maps 2 --files 3 --records 4 --templates 20 >/dev/null
# Wine sees the Unix root as drive Z:.
tree_win="Z:$(printf '%s' "$out/tree" | tr '/' '\\')"
printf '[MorviConfig]\r\nServerPath=%s\r\nUseDebug=false\r\n' "$tree_win" > "$run/MorviConfig.ini"

# A display of our own.
source "$source_dir/scripts/xvfb.sh"
start_xvfb 90 140 1280x900x24

cd "$run"
: "${MORVI_WINEPREFIX:=$out/wineprefix}"
export MORVI_WINEPREFIX
bash "$source_dir/cmake/wine-run.sh" "$exe" "$tree_win" >"$out/wine-output.txt" 2>&1 &
wine_pid=$!
for _ in $(seq 1 600); do
    if [ -e find-screenshot-ready ] && [ ! -e find-screenshot-done ]; then
        sleep 1
        import -display "$display" -window root "$out/find-window.png"
        touch find-screenshot-done
    fi
    [ -e screenshot-ready ] && break
    kill -0 "$wine_pid" 2>/dev/null || break
    sleep 0.5
done
if [ -e screenshot-ready ]; then
    sleep 1
    import -display "$display" -window root "$out/window.png"
    touch screenshot-done
fi
status=0
wait "$wine_pid" || status=$?
wine_pid=""
# The pictures the test took of the window in each language.
for bmp in window-*.bmp; do
    if [ -e "$bmp" ] && convert "$bmp" "$out/${bmp%.bmp}.png"; then echo "screenshot: $out/${bmp%.bmp}.png"; fi
done
cat window-test.log 2>/dev/null || echo "no window-test.log" >&2
[ -e "$out/window.png" ] && echo "screenshot: $out/window.png"
exit "$status"
