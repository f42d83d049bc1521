#!/usr/bin/env bash
# Private bytes of cscript over cycles of the automation classes, beside the same cycles of classes
# of the system's own and of plain script objects, read from outside the script process:
#   scripts/scriptmem.sh [cycles] [every]     (default 2000 cycles, a checkpoint every 500)
# Prints each kind's checkpoints and its growth per cycle from the first checkpoint to the last; "keep"
# keeps 2 KB a cycle on purpose, to show that the reading sees growth.
set -euo pipefail
. "$(dirname "$0")/common.sh"

cycles=${1:-2000}
every=${2:-500}
tessel_install_deps
tessel_build x86_64 "$TESSEL_BUILD" scriptmem TesselOCX
trap tessel_down EXIT
tessel_display_up
tessel_wine_up "$TESSEL_BUILD"
script="Z:$(echo "$TESSEL_ROOT/tools/scriptmem/cycles.vbs" | tr / '\\')"
for kind in tessel wine plain keep; do
  say "$kind: $cycles cycles"
  "$TESSEL_BUILD/wine-run" "$TESSEL_BUILD/scriptmem.exe" "$script" "$kind" "$cycles" "$every" </dev/null
done
