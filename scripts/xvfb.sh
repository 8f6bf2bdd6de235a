# Sourced by the scripts that run the Windows window under Wine.
#   start_xvfb FIRST LAST GEOMETRY
# Starts a virtual X display of our own (the first free number from FIRST to LAST, a screen of
# GEOMETRY, e.g. 1280x900x24), sets DISPLAY and $display, and stops it on exit together with the
# Wine process whose id is in $wine_pid, if any.
start_xvfb() {
    display=""
    local n
    for n in $(seq "$1" "$2"); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
    done
    [ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
    Xvfb "$display" -screen 0 "$3" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    wine_pid=""
    trap stop_xvfb EXIT
    sleep 1
    export DISPLAY="$display"
}

stop_xvfb() {
    [ -n "${wine_pid:-}" ] && kill "$wine_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
