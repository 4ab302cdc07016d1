#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: a private session bus and a
# virtual X server around ctest.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUIVERLANE_BUILD_DIR:-$top/build}"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" \
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
