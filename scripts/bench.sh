#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the export benchmark under Wine (no display needed).
# Arguments pass through, e.g. ./scripts/bench.sh --runs 5 --records 10000
set -euo pipefail
source "$(dirname "$0")/common.sh"

velquist_setup
velquist_build
velquist_wine_up
trap velquist_wine_down EXIT
# wine loads the exe into the process it is started in, so the subshell's id names the exe's Unix
# process, whose /proc entry shows the resident memory that Wine's own counters leave at zero.
(export VELQUIST_BENCH_UNIX_PID=$BASHPID && exec wine "$VELQUIST_BUILD/bench/velquist_export_bench.exe" "$@")
