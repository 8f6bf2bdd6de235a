#!/usr/bin/env bash
# Installs the Windows installer silently under Wine and checks what a user gets:
#   scripts/test-windows-installer.sh SETUP_EXE WINEPREFIX MAKE_TREE VERSION
# the installed files and the version resource, the registered uninstaller, both Start-menu
# shortcuts (target, arguments and working folder, read from the .lnk files), the command
# prompt's morvinpc (it changes a generated tree, so a change history exists), the window
# started from its shortcut on a configured server tree and closed again, and a silent
# uninstall that leaves only the user's MorviConfig.ini and change history.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
setup=$(readlink -f "$1")
export WINEPREFIX=$(readlink -f "$2") MORVI_WINEPREFIX=$(readlink -f "$2")
make_tree=$3
version=$4
# No menu entries of the build machine's desktop for the Start-menu shortcuts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
run="bash $source_dir/cmake/wine-run.sh"
work=$(mktemp -d)
fail() { echo "installer check failed: $*" >&2; exit 1; }

# A display for the window, shared by every Wine process of this check.
display=""
for n in $(seq 150 200); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free X display"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
# Earlier Wine processes of this prefix may have started without a display.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

unix_path() { winepath -u "$1" 2>/dev/null; }
folders=$($run cmd /c 'echo %LOCALAPPDATA%&echo %APPDATA%' | tr -d '\r')
local_win=$(sed -n 1p <<<"$folders") roaming_win=$(sed -n 2p <<<"$folders")
local_dir=$(unix_path "$local_win") roaming_dir=$(unix_path "$roaming_win")
profile=$(dirname "$(dirname "$roaming_dir")")
install_win="$local_win\\Programs\\MorviNpc"
install_dir="$local_dir/Programs/MorviNpc"
work_win="$roaming_win\\MorviNpc"
work_dir="$roaming_dir/MorviNpc"
menu_dir="$roaming_dir/Microsoft/Windows/Start Menu/Programs/MorviNpc"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\MorviNpc'

# A clean start: nothing of an earlier run.
rm -rf "$install_dir" "$work_dir" "$local_dir/MorviNpc" "$menu_dir"
$run reg delete "$key" /f >/dev/null 2>&1 || true
snapshot() { (cd "$profile" && find . \( -path ./AppData/Local/Temp -o -path ./Temp \) -prune -o -print | sort); }
snapshot >"$work/before.txt"

echo "-- install: $(basename "$setup") /S"
$run "$setup" /S || fail "the silent install ended with status $?"
for f in MorviNpc.exe bin/morvinpc.exe README.txt MorviNpc-prompt.cmd uninstall.exe; do
    [ -f "$install_dir/$f" ] || fail "$install_win lacks $f"
done
[ -d "$work_dir" ] || fail "the working folder $work_win was not created"
echo "installed: $(cd "$install_dir" && find . -type f | sed 's#^\./##' | sort | tr '\n' ' ')"

# The version resource of both programs and their --version.
for f in MorviNpc.exe bin/morvinpc.exe; do
    python3 - "$install_dir/$f" "$version" <<'PY' || fail "$f has no version resource $version"
import sys
data = open(sys.argv[1], "rb").read()
for key in ("FileVersion", "ProductVersion"):
    if (key + "\0").encode("utf-16-le") + b"\0\0" + (sys.argv[2] + "\0").encode("utf-16-le") not in data \
            and (key + "\0").encode("utf-16-le") + (sys.argv[2] + "\0").encode("utf-16-le") not in data:
        sys.exit(1)
PY
done
[ "$($run "$install_dir/MorviNpc.exe" --version | tr -d '\r')" = "MorviNpc $version" ] || fail "MorviNpc.exe --version"
[ "$($run "$install_dir/bin/morvinpc.exe" --version | tr -d '\r')" = "morvinpc $version" ] || fail "morvinpc.exe --version"
echo "version resource and --version of both programs: $version"

# The uninstaller, registered for the user.
registered=$($run reg query "$key" | tr -d '\r') || fail "no uninstall key $key"
for value in "DisplayVersion.*$version" "UninstallString.*uninstall.exe" "QuietUninstallString.*/S" \
             "InstallLocation.*Programs\\\\MorviNpc" "DisplayName.*MorviNpc"; do
    grep -qE "$value" <<<"$registered" || fail "the uninstall key lacks $value"
done
echo "uninstall key: $(grep -c REG_ <<<"$registered") values"

# The shortcuts, read from the .lnk files.
lnk() { python3 "$source_dir/scripts/read-lnk.py" "$menu_dir/$1" | python3 -c "import json,sys; print(json.load(sys.stdin).get('$2',''))"; }
same() { [ "$(tr 'A-Z' 'a-z' <<<"$1")" = "$(tr 'A-Z' 'a-z' <<<"$2")" ] || fail "$3: '$1', expected '$2'"; }
same "$(lnk MorviNpc.lnk target)" "$install_win\\MorviNpc.exe" "window shortcut target"
same "$(lnk MorviNpc.lnk working_dir)" "$work_win" "window shortcut working folder"
same "$(lnk 'MorviNpc command prompt.lnk' target)" "C:\\windows\\system32\\cmd.exe" "prompt shortcut target"
same "$(lnk 'MorviNpc command prompt.lnk' arguments)" "/k \"$install_win\\MorviNpc-prompt.cmd\"" "prompt shortcut arguments"
same "$(lnk 'MorviNpc command prompt.lnk' working_dir)" "$work_win" "prompt shortcut working folder"
echo "shortcuts: MorviNpc.exe and the command prompt, both in $work_win"

# A configured server tree, as the window stores it in its working folder.
"$make_tree" "$work/tree" --seed 5 --maps 1 --files 2 --records 3 >/dev/null
tree_win="Z:$(printf '%s' "$work/tree" | tr '/' '\\')"
printf '[MorviConfig]\r\nServerPath=%s\r\nUseDebug=false\r\n' "$tree_win" >"$work_dir/MorviConfig.ini"

# The command prompt: morvinpc on its PATH, the window's MorviConfig.ini found.
printf '@call "%s\\MorviNpc-prompt.cmd"\r\n@morvinpc add 0 --template 1 --x 10 --y 20\r\n' "$install_win" >"$work/prompt.cmd"
added=$($run cmd /c "Z:$(printf '%s' "$work/prompt.cmd" | tr '/' '\\')" 2>&1 | tr -d '\r' || true)
grep -q "morvinpc $version" <<<"$added" || fail "the prompt does not show morvinpc's version: $added"
grep -q "10 .*20" <<<"$added" || fail "morvinpc add from the prompt: $added"
[ -n "$(find "$local_dir/MorviNpc/history" -name '*.jsonl' 2>/dev/null)" ] || fail "no change history after morvinpc add"
echo "command prompt: morvinpc $version on the PATH, one placement added"

# The window from its shortcut: it reads the MorviConfig.ini of its working folder (without
# it, the first-run folder browser would come up instead of the window "MorviNpc").
# start hands the shortcut to the shell, which starts its target and returns.
$run start /unix "$menu_dir/MorviNpc.lnk" >"$work/window.log" 2>&1 || fail "start could not open the shortcut"
window_up() { xwininfo -root -tree 2>/dev/null | grep -q '"MorviNpc": ('; }
shown=""
for _ in $(seq 1 120); do
    if window_up; then shown=1; break; fi
    sleep 0.5
done
[ -n "$shown" ] || { cat "$work/window.log" >&2; fail "the window did not come up from its shortcut"; }
$run taskkill /im MorviNpc.exe >/dev/null 2>&1 || fail "taskkill could not ask the window to close"
closed=""
for _ in $(seq 1 40); do
    window_up || { closed=1; break; }
    sleep 0.25
done
[ -n "$closed" ] || fail "the window did not close when asked"
if $run tasklist 2>/dev/null | grep -qi '^MorviNpc.exe'; then fail "MorviNpc.exe still runs after its window closed"; fi
echo "window: started from its shortcut in $work_win, closed when asked"

echo "-- uninstall: uninstall.exe /S"
$run "$install_dir/uninstall.exe" /S || fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself; wait for its end.
for _ in $(seq 1 60); do
    [ -e "$install_dir" ] || [ -e "$menu_dir" ] || break
    sleep 0.25
done
[ ! -e "$install_dir" ] || fail "$install_win is still there: $(find "$install_dir" | tr '\n' ' ')"
[ ! -e "$menu_dir" ] || fail "the Start-menu folder is still there"
if $run reg query "$key" >/dev/null 2>&1; then fail "the uninstall key is still there"; fi
snapshot >"$work/after.txt"
left=$(comm -13 "$work/before.txt" "$work/after.txt")
# %LOCALAPPDATA%\Programs is the per-user programs folder other programs share: when the
# installer had to make it, the uninstaller leaves it, as every uninstaller does.
unexpected=$(grep -vE '^\./AppData/Roaming/MorviNpc(/MorviConfig\.ini)?$|^\./AppData/Local/Programs$|^\./AppData/Local/MorviNpc(/history(/.*)?)?$' <<<"$left" || true)
[ -z "$unexpected" ] || fail "left behind besides MorviConfig.ini and the change history: $unexpected"
grep -q 'Roaming/MorviNpc/MorviConfig.ini$' <<<"$left" || fail "the user's MorviConfig.ini was removed"
grep -q 'Local/MorviNpc/history/' <<<"$left" || fail "the user's change history was removed"
echo "uninstalled: left only $(grep -c . <<<"$left") entries of the user's (MorviConfig.ini, change history)"
# The prefix as it was.
rm -rf "$work_dir" "$local_dir/MorviNpc"
