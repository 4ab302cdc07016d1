# Sourced by the end-to-end scripts: a home of its own for the program, and a
# desktop as users have it (a window manager, then an XEmbed tray) on the
# virtual X server the test command provides.
[ -n "${DISPLAY:-}" ] || { echo "no X display: run it through the test command"; exit 77; }
work=$(mktemp -d)
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb
settings="$XDG_CONFIG_HOME/Marrowick/Quiverlane.conf"
cleanup() {
    [ -n "${SHOW_LOG:-}" ] && [ -f "$work/log" ] && cat "$work/log"
    kill "${app:-}" "${tray:-}" "${wm:-}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

start_desktop() {
    openbox >/dev/null 2>&1 &
    wm=$!
    for _ in $(seq 50); do xdotool get_desktop >/dev/null 2>&1 && break; sleep 0.1; done
    trayer --edge top --align right --widthtype request --height 22 --SetDockType true &
    tray=$!
    for _ in $(seq 50); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.1; done
}
