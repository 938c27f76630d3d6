#!/bin/bash
# Runs the Windows tests under Wine: ctest's windows preset on a private X screen, with the
# given ctest arguments. Each test runs in a Wine shard of its own (see tools/wine-shards);
# the project's own prefix serves only to list the tests of each test program, which ctest
# does before the first test and again whenever a test program was rebuilt. A wineserver kept
# running for that listing saves starting one per test program.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/tools/with-display" bash -c '
    cd "$0" || exit 2
    "$0/tools/wine-run" --start-server
    ctest --preset windows "${@}"
    status=$?
    "$0/tools/wine-run" --stop-server
    exit $status' "$root" "$@"
