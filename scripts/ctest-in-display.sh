#!/usr/bin/env bash
# Inner half of test.sh: runs inside the X display that test.sh started.
set -uo pipefail
source "$(dirname "$0")/common.sh"

velquist_wine_up
cd "$VELQUIST_BUILD"
ctest --output-on-failure "$@"
status=$?
velquist_wine_down
exit $status
