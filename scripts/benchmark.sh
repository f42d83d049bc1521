#!/usr/bin/env bash
# Builds the benchmark and runs it in the tree's prefix on a display of its own, without a window
# manager like the tests (scripts/benchmark.sh [group], e.g. scripts/benchmark.sh host).
# scripts/benchmark.sh <group> --requests runs each work of the group once and prints how many
# requests each made to the Wine server (from its log): a count that does not depend on the load.
set -euo pipefail
. "$(dirname "$0")/common.sh"

tessel_install_deps
tessel_build x86_64 "$TESSEL_BUILD" benchmark formtool
trap tessel_down EXIT
tessel_display_up
tessel_wine_up "$TESSEL_BUILD"
if [ "${2:-}" != --requests ]; then
  "$TESSEL_BUILD/wine-run" "$TESSEL_BUILD/benchmark.exe" "$@"
  exit
fi
# The server logs every request of every process (-d1) on its standard error; a fresh one is
# started for the run, and the requests between the benchmark's marks are counted.
log=$(mktemp) labels=$(mktemp)
wineserver -k >/dev/null 2>&1 || true
wineserver -f -d1 2>"$log" </dev/null &
server=$!
"$TESSEL_BUILD/wine-run" "$TESSEL_BUILD/benchmark.exe" "$1" --requests >"$labels" || true
wineserver -k >/dev/null 2>&1 || true
wait "$server" 2>/dev/null || true
# A reply line ("0024: name() = ...") per request of the marking thread between its marks, less
# those of the marks themselves (the work "(nothing)").
awk -v labels="$labels" '
  BEGIN { while ((getline line < labels) > 0) { split(line, f, " "); name[f[1]] = substr(line, length(f[1]) + 2) } }
  /tessel-requests-begin-/ && !on { thread = substr($0, 1, index($0, ":") - 1); id = $0
                                    sub(/.*tessel-requests-begin-/, "", id); sub(/[^0-9].*/, "", id); n = 0; on = 1; next }
  /tessel-requests-end/ && on    { if (id == 0) base = n; else printf "%6d  %s\n", n - base, name[id]; on = 0; next }
  on && index($0, thread ": ") == 1 && $0 ~ /^[0-9a-f]+: [a-z_]+\(\) = / { n++ }
' "$log"
rm -f "$log" "$labels"
