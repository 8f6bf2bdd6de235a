#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping apt when all are present.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libgtest-dev qt6-base-dev
          fonts-wqy-microhei xvfb xauth clang libclang-rt-14-dev libcli11-dev nlohmann-json3-dev libssl-dev acl attr
          g++-mingw-w64-x86-64-posix wine wine64 googletest zip dpkg-dev imagemagick
          nsis lintian desktop-file-utils appstream x11-utils man-db python3
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update -qq
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi
# Wine runs under a Chinese locale (its CJK font links, and UTF-8 file names on the Linux side).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "generating the locale zh_CN.UTF-8"
    localedef -i zh_CN -c -f UTF-8 -A /usr/share/locale/locale.alias zh_CN.UTF-8
fi
