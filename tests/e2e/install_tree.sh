#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop needs from it.
set -u
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
[ -x "$prefix/bin/quiverlane" ] || fail "no program in bin/"
entry="$prefix/share/applications/quiverlane.desktop"
[ -f "$entry" ] || fail "no desktop entry"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
grep -qx 'MimeType=x-scheme-handler/quiverlane;' "$entry" || fail "the entry does not handle quiverlane: URLs"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/128x128/apps/$icon.png" ] || fail "no icon named $icon"
echo "1 passed, 0 failed"
