#!/usr/bin/env bash
# Builds the tool, generates the demo server tree once, and opens the window on it.
# Without a desktop session the window runs under xvfb-run (useful for screenshots and checks).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs" --target MorviNpc morvi_make_tree
demo="$PWD/build/demo"
if [ ! -f "$demo/server/Gameserver.exe" ]; then
    build/morvi_make_tree "$demo/server" --seed 7 --maps 4 --files 24 --records 8
fi
mkdir -p "$demo/work"
# The tool keeps its configuration in the directory it is started from.
if [ ! -f "$demo/work/MorviConfig.ini" ]; then
    printf '[MorviConfig]\r\nServerPath=%s\r\nUseDebug=false\r\n' "$demo/server" > "$demo/work/MorviConfig.ini"
fi
cd "$demo/work"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/build/MorviNpc" "$@"
else
    exec xvfb-run -a "$root/build/MorviNpc" "$@"
fi
