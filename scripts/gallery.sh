#!/usr/bin/env bash
# Builds TesselOCX and runs the gallery. Without a display it writes a screenshot instead.
set -euo pipefail
. "$(dirname "$0")/common.sh"

tessel_install_deps
tessel_build x86_64 "$TESSEL_BUILD" TesselOCX gallery tessel_idle
trap tessel_down EXIT
args=("$@")
if [ -z "${DISPLAY:-}" ]; then
  shot="$TESSEL_BUILD/gallery.png"
  rm -f "$shot"
  TESSEL_SCREEN=${TESSEL_SCREEN:-1920x1600x24} tessel_display_up   # room for every window side by side
  tessel_wine_up "$TESSEL_BUILD"
  wine "$TESSEL_BUILD/gallery.exe" --screenshot "$(winepath -w "$shot")" "${args[@]}"
  [ -f "$shot" ] || { say "no screenshot was written"; exit 1; }
  say "screenshot written to $shot"
else
  TESSEL_DISPLAY=$DISPLAY tessel_display_up
  tessel_wine_up "$TESSEL_BUILD"
  wine "$TESSEL_BUILD/gallery.exe" "${args[@]}"
fi
