#!/usr/bin/env bash
# The real tray end to end: a window manager and an XEmbed tray host on the virtual X server, the
# program's icon in it, a click that shows the bar under the icon and a second
# click that hides it. Needs DISPLAY (the test command runs ctest in xvfb-run).
set -u
program="$1"
. "$(dirname "$0")/desktop.sh"

# A library with one group of the user's own: an empty library has no bar to
# show, and its icon opens the settings menu instead. The bar is to stay hidden
# at launch, so that the first click is the one that shows it. The groups are a keyed
# archive (a binary property list) in the settings file, every byte escaped.
mkdir -p "$XDG_CONFIG_HOME/Marrowick"
python3 - "$settings" <<'EOF' || fail "could not write the library"
import plistlib, sys
group = lambda name, order, pinned: {"$class": "QVGroup", "name": name, "order": order,
                                     "pinned": pinned, "isExpanded": True, "files": []}
archive = {"$archiveVersion": 1, "$root": [group("Pinned", 0, True), group("Tray test", 1, False)]}
data = plistlib.dumps(archive, fmt=plistlib.FMT_BINARY)
with open(sys.argv[1], "w") as settings:
    settings.write("[General]\nhideWindowOnStartup=true\ngroups=@ByteArray(%s)\n"
                   % "".join("\\x%02x" % b for b in data))
EOF

start_desktop
"$program" >"$work/log" 2>&1 &
app=$!

# The icon is the embedded window of ours inside the tray.
icon=""
for _ in $(seq 100); do
    for w in $(xdotool search --class quiverlane 2>/dev/null); do
        read -r _ x y wd ht < <(xdotool getwindowgeometry --shell "$w" | tr '\n' ' ' |
            sed -E 's/WINDOW=([0-9]+) X=([0-9]+) Y=([0-9]+) WIDTH=([0-9]+) HEIGHT=([0-9]+).*/\1 \2 \3 \4 \5/')
        if [ "${ht:-0}" -le 32 ] && [ "${wd:-0}" -le 32 ]; then icon="$x $y $wd $ht"; iconwin=$w; fi
    done
    [ -n "$icon" ] && break
    sleep 0.1
done
[ -n "$icon" ] || fail "the icon never appeared in the tray"
read -r ix iy iw ih <<<"$icon"
echo "icon at $ix,$iy size ${iw}x$ih"

bar_geometry() {
    for w in $(xdotool search --onlyvisible --class quiverlane 2>/dev/null); do
        g=$(xdotool getwindowgeometry --shell "$w" | tr '\n' ' ')
        wd=$(sed -E 's/.*WIDTH=([0-9]+).*/\1/' <<<"$g")
        [ "$wd" -gt 32 ] && sed -E 's/.*X=([0-9]+) Y=([0-9]+) WIDTH=([0-9]+) HEIGHT=([0-9]+).*/\1 \2 \3 \4/' <<<"$g" && return
    done
}

xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
for _ in $(seq 50); do [ -n "$(bar_geometry)" ] && break; sleep 0.1; done
read -r bx by bw bh <<<"$(bar_geometry)"
[ -n "${bx:-}" ] || fail "the first click did not show the bar"
echo "bar at $bx,$by size ${bw}x$bh"
[ "$by" -eq $((iy + ih)) ] || fail "the bar's top ($by) is not the icon's bottom ($((iy + ih)))"
if [ $((ix + bw)) -le 1280 ]; then
    [ "$bx" -eq "$ix" ] || fail "the bar is not left-aligned with the icon"
else
    [ $((bx + bw)) -eq $((ix + iw)) ] || fail "the bar is not right-aligned with the icon"
fi

sleep 0.5 # a later click, not a double click
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
for _ in $(seq 50); do [ -z "$(bar_geometry)" ] && break; sleep 0.1; done
[ -z "$(bar_geometry)" ] || fail "the second click did not hide the bar"

# Hiding the bar leaves the icon in the tray, and the next click brings the bar back.
sleep 0.5
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
for _ in $(seq 50); do [ -n "$(bar_geometry)" ] && break; sleep 0.1; done
[ -n "$(bar_geometry)" ] || fail "a third click did not show the bar again"

echo "1 passed, 0 failed"
