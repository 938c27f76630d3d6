#!/bin/bash
# Builds every flavour and runs every suite: format check, ThreadSanitizer tests of concurrent
# code, native tests (ASan+UBSan), Windows tests under Wine on a private Xvfb screen.
# Exits non-zero when anything failed; the last lines are the native and Windows summaries.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
step() { echo; echo "===== $* ====="; }
logs="build/${ZUVO_BUILD_TAG:-}test-logs"
mkdir -p "$logs"

step "format check"
tools/format.sh --check || status=1

step "build: native (ASan+UBSan)"
{ cmake --preset native >/dev/null && cmake --build --preset native; } || status=1
step "build: native (ThreadSanitizer)"
{ cmake --preset native-tsan >/dev/null && cmake --build --preset native-tsan; } || status=1
step "build: windows (mingw-w64)"
{ cmake --preset windows >/dev/null && cmake --build --preset windows; } || status=1

step "tests: native, ThreadSanitizer"
ctest --preset native-tsan "$@" 2>&1 | tee "$logs/tsan.txt"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

step "tests: native, ASan+UBSan"
ctest --preset native "$@" 2>&1 | tee "$logs/native.txt"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

step "tests: windows, under Wine"
tools/run-wine-tests.sh "$@" 2>&1 | tee "$logs/windows.txt"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

echo
echo "===== summaries ====="
for suite in tsan native windows; do
    echo "--- $suite:"
    grep -E '^[0-9]+% tests passed|tests failed out of|Total Test time' "$logs/$suite.txt" || echo "(no summary: build or start failed)"
done
if [ $status -eq 0 ]; then echo "make test: everything passed"; else echo "make test: FAILED"; fi
exit $status
