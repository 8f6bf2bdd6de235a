#!/usr/bin/env bash
# Builds the release packages in dist/ from a Release cross build and a Release build:
#   MorviNpc-<version>-windows-x64.zip   both Windows executables, a README and the prompt script;
#   MorviNpc-<version>-setup.exe         the per-user Windows installer (NSIS's makensis), installed,
#                                        started and uninstalled under Wine by
#                                        scripts/test-windows-installer.sh;
#   morvinpc_<version>_amd64.deb          the Debian package (CPack), checked with lintian (no error,
#                                        no warning), desktop-file-validate and appstreamcli.
# Windows' file names ignore case, so morvinpc.exe lives in bin\ beside MorviNpc.exe.
#
# MORVI_PACKAGE_REUSE_BUILDS=1 packages the test command's build/ and build-win/ instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
version=$(sed -n 's/^project(MorviNpc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "project() of CMakeLists.txt has no x.y.z version: '$version'"; exit 1; }
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
mkdir -p "$stage/bin"
for exe in MorviNpc.exe morvinpc.exe; do
    found=$(find "$win" -name "$exe" -path "*$win/*" -not -path "*/package/*" -not -path "*/CMakeFiles/*" | head -n1)
    [ -n "$found" ] || { echo "missing $exe in $win"; exit 1; }
    target="$stage/$exe"
    [ "$exe" = morvinpc.exe ] && target="$stage/bin/$exe"
    cp "$found" "$target"
    x86_64-w64-mingw32-strip "$target"
done
sed 's/$/\r/' packaging/README-windows.txt >"$stage/README.txt"
sed 's/$/\r/' packaging/windows/MorviNpc-prompt.cmd >"$stage/MorviNpc-prompt.cmd"
(cd "$win/package" && zip -q -r "$OLDPWD/dist/$zip_name.zip" "$zip_name")
(cd "$stage" && find . -type f | sort | xargs ls -l)

echo "== Windows installer"
setup="dist/MorviNpc-$version-setup.exe"
rm -f "$setup"
cp res/MorviNpc.ico "$win/package/MorviNpc.ico"
size_kb=$(du -k -c "$stage"/*.exe "$stage"/bin/*.exe "$stage"/*.txt "$stage"/*.cmd | tail -1 | cut -f1)
makensis -V2 -DVERSION="$version" -DVERSION4="$version.0" -DSTAGE="$PWD/$stage" -DICON="$PWD/$win/package/MorviNpc.ico" \
    -DOUTFILE="$PWD/$setup" -DSIZE_KB="$size_kb" packaging/windows/MorviNpc.nsi
ls -l "$setup"

echo "== Debian package"
rm -f dist/morvinpc_*.deb
(cd "$native" && cpack -G DEB -B "$PWD/../dist/cpack" >/dev/null)
mv dist/cpack/*.deb dist/
rm -rf dist/cpack
deb=$(ls dist/morvinpc_*.deb)
ls -l "$deb" "dist/$zip_name.zip"

echo "== checks"
contents=$(dpkg-deb -c "$deb")
wanted=(./usr/bin/MorviNpc ./usr/bin/morvinpc ./usr/share/applications/morvinpc.desktop
        ./usr/share/icons/hicolor/128x128/apps/morvinpc.png
        ./usr/share/metainfo/io.github.morvinpc.MorviNpc.metainfo.xml
        ./usr/share/man/man1/morvinpc.1.gz ./usr/share/man/man1/MorviNpc.1.gz
        ./usr/share/doc/morvinpc/copyright ./usr/share/doc/morvinpc/changelog.gz)
for file in "${wanted[@]}"; do
    grep -q " $file\$" <<<"$contents" || { echo "the package lacks $file"; exit 1; }
done
echo "package contents: all ${#wanted[@]} files present"
# One version everywhere: the package, the changelog's newest entry, the AppStream release,
# both programs' --version.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || { echo "the package's version is not $version"; exit 1; }
[ "$(dpkg-parsechangelog -l packaging/changelog -S Version)" = "$version" ] \
    || { echo "packaging/changelog's newest entry is not $version"; exit 1; }
grep -q "<release version=\"$version\"" packaging/io.github.morvinpc.MorviNpc.metainfo.xml \
    || { echo "the AppStream metadata has no release $version"; exit 1; }
extracted="$native/package-check"
rm -rf "$extracted" && dpkg-deb -x "$deb" "$extracted"
[ "$("$extracted/usr/bin/morvinpc" --version)" = "morvinpc $version" ] || { echo "morvinpc --version"; exit 1; }
[ "$(env -u DISPLAY "$extracted/usr/bin/MorviNpc" --version)" = "MorviNpc $version" ] || { echo "MorviNpc --version"; exit 1; }
echo "version $version: package, changelog, AppStream release, both programs' --version"
# lintian: no error and no warning (the info tags left are explained in the README).
lint_status=0
lint=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || lint_status=$?
grep -v '^running with root privileges' <<<"$lint" || true
[ "$lint_status" = 0 ] || { echo "lintian reports errors or warnings (status $lint_status)"; exit 1; }
echo "lintian: no error, no warning"
validated=$(desktop-file-validate "$extracted/usr/share/applications/morvinpc.desktop" 2>&1) || true
[ -z "$validated" ] || { echo "desktop-file-validate: $validated"; exit 1; }
grep -q '^Exec=MorviNpc --user-config$' "$extracted/usr/share/applications/morvinpc.desktop" \
    || { echo "the desktop entry does not start the window in the user's configuration directory"; exit 1; }
echo "desktop-file-validate: clean"
appstreamcli validate --no-net --explain "$extracted/usr/share/metainfo/io.github.morvinpc.MorviNpc.metainfo.xml" >/dev/null \
    || { appstreamcli validate --no-net "$extracted/usr/share/metainfo/io.github.morvinpc.MorviNpc.metainfo.xml"; exit 1; }
echo "appstreamcli validate --no-net: clean"
for page in morvinpc MorviNpc; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$extracted/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null) || true
    [ -z "$warnings" ] || { echo "man $page: $warnings"; exit 1; }
done
echo "manual pages: both render without warnings"
unpacked="$win/package/unzipped"
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && unzip -q "$OLDPWD/dist/$zip_name.zip")
run="env MORVI_WINEPREFIX=$PWD/$win/wineprefix bash cmake/wine-run.sh"
$run "$unpacked/$zip_name/bin/morvinpc.exe" --help | grep -q "Usage" || { echo "morvinpc.exe does not start"; exit 1; }
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

echo "== the installer under Wine"
bash scripts/test-windows-installer.sh "$setup" "$win/wineprefix" "$native/morvi_make_tree" "$version"
ls -l "$setup" "$deb" "dist/$zip_name.zip"
