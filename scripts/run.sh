#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Velquist under Wine on this display.
set -euo pipefail
source "$(dirname "$0")/common.sh"

velquist_setup
velquist_build
if [ ! -f "$VELQUIST_BUILD/Velquist.exe" ]; then
    echo "Built the libraries and tests; the program itself is not part of this build yet."
    exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "No X display (DISPLAY is unset): Velquist needs one to show its window." >&2
    exit 1
fi
velquist_wine_up
exec wine "$VELQUIST_BUILD/Velquist.exe"
