#!/usr/bin/env bash
# Builds the benchmark and runs it in the tree's prefix on a display of its own, without a window
# manager like the tests (scripts/benchmark.sh [group], e.g. scripts/benchmark.sh host).
set -euo pipefail
. "$(dirname "$0")/common.sh"

tessel_install_deps
tessel_build x86_64 "$TESSEL_BUILD" benchmark formtool
trap tessel_down EXIT
tessel_display_up
tessel_wine_up "$TESSEL_BUILD"
"$TESSEL_BUILD/wine-run" "$TESSEL_BUILD/benchmark.exe" "$@"
