#!/usr/bin/env bash
# Sets everything up and runs Quiverlane.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
exec "${QUIVERLANE_BUILD_DIR:-$top/build}/quiverlane" "$@"
