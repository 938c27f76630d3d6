#!/bin/bash
# make soak: the program under Wine for SOAK_MINUTES (default 10) with the emulator's crowd of
# 100 objects delivered 50 times a second; every 10 s its resource counts, the delivered
# entries, the result log's lines and the view's paints. Writes build/soak/soak.csv, soak.png
# and soak.txt (the table) and fails when a count grew after the first minute, the log misses
# a line or the view stopped changing. Not part of make test: it takes its minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/${ZUVO_BUILD_TAG:-}soak"
testbin="$root/build/${ZUVO_BUILD_TAG:-}windows/testbin"
mkdir -p "$out"
rm -f "$out/soak.csv" "$out/soak.png" "$out/soak.txt"
export SOAK_MINUTES="${SOAK_MINUTES:-10}"
# Wine sees the whole file system as drive Z:.
export ZUVO_SOAK_FOLDER="Z:${out//\//\\}"
echo "soak: ${SOAK_MINUTES} minutes; results in $out"
status=0
"$root/tools/with-display" "$root/tools/wine-run" "$testbin/soak_tests.exe" || status=$?
for name in soak.csv soak.png soak.txt; do
    [ -f "$out/$name" ] || echo "soak: $out/$name was not written"
done
exit $status
