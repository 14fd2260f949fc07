#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test under Wine on a private X display.
set -euo pipefail
source "$(dirname "$0")/common.sh"

velquist_setup
velquist_build
# One X server for the whole run: a wineserver must never see the display come and go.
exec xvfb-run -a -s "-screen 0 1600x1000x24" "$VELQUIST_ROOT/scripts/ctest-in-display.sh" "$@"
