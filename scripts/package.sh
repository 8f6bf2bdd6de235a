#!/usr/bin/env bash
# Builds the release packages in dist/: MorviNpc-<version>-windows-x64.zip (both Windows
# executables and a README) from a Release cross build, and the Debian package through CPack
# from a Release build; then checks the package's contents list and that the zip's
# executables start under Wine.
#
# MORVI_PACKAGE_REUSE_BUILDS=1 packages the test command's build/ and build-win/ instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
version=$(sed -n 's/^project(MorviNpc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [ "${MORVI_PACKAGE_REUSE_BUILDS:-0}" = 1 ]; then
    native=${MORVI_PACKAGE_NATIVE_BUILD:-build} win=build-win
else
    native=build-release win=build-win
    cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVI_BUILD_TESTS=OFF
    cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$native" -j"$jobs"
cmake --build "$win" -j"$jobs"
mkdir -p dist

echo "== Windows zip"
zip_name="MorviNpc-$version-windows-x64"
stage="$win/package/$zip_name"
rm -rf "$win/package" "dist/$zip_name.zip"
mkdir -p "$stage"
for exe in MorviNpc.exe morvinpc.exe; do
    found=$(find "$win" -name "$exe" -path "*$win/*" -not -path "*/package/*" -not -path "*/CMakeFiles/*" | head -n1)
    if [ -z "$found" ]; then
        echo "missing $exe in $win"
        [ "$exe" = morvinpc.exe ] && exit 1
        continue
    fi
    cp "$found" "$stage/$exe"
    x86_64-w64-mingw32-strip "$stage/$exe"
done
sed 's/$/\r/' packaging/README-windows.txt >"$stage/README.txt"
(cd "$win/package" && zip -q -r "$OLDPWD/dist/$zip_name.zip" "$zip_name")
ls -l "$stage"

echo "== Debian package"
rm -f dist/morvinpc_*.deb
(cd "$native" && cpack -G DEB -B "$PWD/../dist/cpack" >/dev/null)
mv dist/cpack/*.deb dist/
rm -rf dist/cpack
deb=$(ls dist/morvinpc_*.deb)
ls -l "$deb" "dist/$zip_name.zip"

echo "== checks"
contents=$(dpkg-deb -c "$deb")
for wanted in ./usr/bin/MorviNpc ./usr/bin/morvinpc ./usr/share/applications/morvinpc.desktop \
              ./usr/share/icons/hicolor/128x128/apps/morvinpc.png \
              ./usr/share/metainfo/io.github.morvinpc.MorviNpc.metainfo.xml ./usr/share/man/man1/morvinpc.1; do
    grep -q " $wanted\$" <<<"$contents" || { echo "the package lacks $wanted"; exit 1; }
done
echo "package contents: all six files present"
unpacked="$win/package/unzipped"
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && unzip -q "$OLDPWD/dist/$zip_name.zip")
run="env MORVI_WINEPREFIX=$PWD/$win/wineprefix bash cmake/wine-run.sh"
$run "$unpacked/$zip_name/morvinpc.exe" --help | grep -q "Usage" || { echo "morvinpc.exe does not start"; exit 1; }
echo "morvinpc.exe --help under Wine: started"
if [ -f "$unpacked/$zip_name/MorviNpc.exe" ]; then
    # The window keeps running until closed: still running after some seconds means it started.
    # It opens on a generated tree (without a configured server directory it would ask for one).
    "$native/morvi_make_tree" "$PWD/$win/package/tree" --seed 5 --maps 1 --files 2 --records 3 >/dev/null
    printf '[MorviConfig]\r\nServerPath=Z:%s\r\nUseDebug=false\r\n' \
        "$(printf '%s' "$PWD/$win/package/tree" | tr '/' '\\')" >"$unpacked/MorviConfig.ini"
    # A Wine server left by the console program has no display: the window would find none.
    WINEPREFIX="$PWD/$win/wineprefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$PWD/$win/wineprefix" wineserver -w 2>/dev/null || true
    set +e
    (cd "$unpacked" && timeout 20 xvfb-run -a env MORVI_WINEPREFIX="$OLDPWD/$win/wineprefix" \
        bash "$OLDPWD/cmake/wine-run.sh" "$zip_name/MorviNpc.exe" >"$OLDPWD/$win/package/window.log" 2>&1)
    status=$?
    set -e
    WINEPREFIX="$PWD/$win/wineprefix" wineserver -k 2>/dev/null || true
    [ "$status" = 124 ] || { echo "MorviNpc.exe ended at once (status $status; log: $win/package/window.log)"; exit 1; }
    echo "MorviNpc.exe under Wine: started, still running after 20 s"
fi
