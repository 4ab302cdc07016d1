#!/usr/bin/env bash
# The real program's life on a desktop: a first launch opens the Manage window, a
# second launch hands over and ends, a quiverlane: URL turns direct paste on, and
# SIGTERM ends the program with the library written. Needs DISPLAY (the test
# command runs ctest in xvfb-run) and a session bus (dbus-run-session).
set -u
program="$1"
. "$(dirname "$0")/desktop.sh"

start_desktop

"$program" >"$work/log" 2>&1 &
app=$!
# The Manage window: the one large window of ours (the tray icon and the bar are narrow).
manage_window() {
    for w in $(xdotool search --onlyvisible --class quiverlane 2>/dev/null); do
        width=$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')
        [ "${width:-0}" -ge 400 ] && { echo "$w"; return; }
    done
}
manage=""
for _ in $(seq 100); do
    manage=$(manage_window)
    [ -n "$manage" ] && break
    sleep 0.1
done
[ -n "$manage" ] || fail "the first launch did not open the Manage window"
echo "the Manage window is up"

timeout 10 "$program" >/dev/null 2>&1 || fail "a second launch did not end by itself"
kill -0 "$app" 2>/dev/null || fail "the running program ended when launched again"

timeout 10 "$program" "quiverlane://helperwasinstalled" >/dev/null 2>&1 ||
    fail "a launch with a URL did not end by itself"
for _ in $(seq 50); do grep -q '^pasteDirectly=true' "$settings" 2>/dev/null && break; sleep 0.1; done
grep -q '^pasteDirectly=true' "$settings" || fail "the URL did not turn direct paste on"
echo "a second launch handed over; the URL turned direct paste on"

kill -TERM "$app"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "SIGTERM did not end the program"
grep -q '^groups="@ByteArray(bplist00' "$settings" || fail "no library written at the end"
grep -aq 'Pinned' "$settings" || fail "the written library has no pinned group"
echo "1 passed, 0 failed"
