#!/usr/bin/env bash
# Builds TesselOCX (64-bit, and the 32-bit server as a compile check) and runs every test under Wine.
set -euo pipefail
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/examples.sh"

tessel_install_deps
say "building 64-bit tree in $TESSEL_BUILD"
tessel_build x86_64 "$TESSEL_BUILD"
say "building the examples against it"
tessel_build_examples "$TESSEL_BUILD"
if [ -z "${TESSEL_SKIP_I686:-}" ]; then
  say "building 32-bit tree in $TESSEL_BUILD32"
  tessel_build i686 "$TESSEL_BUILD32"
fi

trap tessel_down EXIT
tessel_display_up
tessel_wine_up "$TESSEL_BUILD"
# TESSEL_RIVAL_MS=<ms>: another program takes the activation about that often while the tests run.
if [ -n "${TESSEL_RIVAL_MS:-}" ]; then
  say "a rival program takes the activation about every $TESSEL_RIVAL_MS ms"
  setsid wine "$TESSEL_BUILD/tessel_rival.exe" "$TESSEL_RIVAL_MS" >/dev/null 2>&1 </dev/null &
fi
say "running tests"
# One test program at a time: they share one display, and a window of one program could take the
# activation and the keyboard focus from another's.
ctest --test-dir "$TESSEL_BUILD" --output-on-failure -j 1 --timeout 120 "$@"
