#!/usr/bin/env bash
# Builds the Windows forms of the program's artwork from the PNG files beside this script:
#   MorviNpc.ico   icon 128, every drawn size in one icon file
#   cursor133.cur  cursor 133, 32 x 32 with its hot spot at 15, 1
# Needs ImageMagick's convert. Re-run after draw_artwork.py has redrawn the PNG files.
set -euo pipefail
cd "$(dirname "$0")"
convert icon128_16.png icon128_24.png icon128_32.png icon128_48.png icon128_64.png icon128_128.png \
    -define icon:format=bmp MorviNpc.ico
# A cursor file is an icon file of type 2 whose directory entry holds the hot spot where an icon
# keeps its planes and bit count; ImageMagick writes no hot spot, so it is set afterwards.
convert cursor133.png -define icon:format=bmp ICO:cursor133.cur
python3 - <<'PY'
import struct
with open("cursor133.cur", "r+b") as f:
    data = bytearray(f.read())
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind == 1 and count == 1, "unexpected icon file"
    struct.pack_into("<H", data, 2, 2)               # type: cursor
    struct.pack_into("<HH", data, 6 + 4, 15, 1)      # hot spot x, y
    f.seek(0)
    f.write(data)
PY
