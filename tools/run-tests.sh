#!/bin/bash
# Builds every flavour and runs every suite: format check, ThreadSanitizer tests of concurrent
# code, native tests (ASan+UBSan), Windows tests under Wine (in parallel Wine shards, each on
# a private Xvfb screen). Exits non-zero when anything failed; the output ends with each step's
# wall time and the ctest summaries.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
# Each step's wall time, for the table at the end.
timings=()
step_name=""
step_start=0
end_step() {
    [ -n "$step_name" ] && timings+=("$(printf '%5d s  %s' $(($(date +%s) - step_start)) "$step_name")")
    step_name=""
}
step() {
    end_step
    echo
    echo "===== $* ====="
    step_name="$*"
    step_start=$(date +%s)
}
run_start=$(date +%s)
logs="build/${ZUVO_BUILD_TAG:-}test-logs"
mkdir -p "$logs"

step "set-up (packages, pugixml sources, Wine prefix)"
if ! tools/setup.sh; then
    echo "make test: FAILED (set-up)"
    exit 1
fi

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

end_step
echo
echo "===== step times ====="
printf '%s\n' "${timings[@]}"
printf '%5d s  all steps\n' $(($(date +%s) - run_start))
echo
echo "===== summaries ====="
for suite in tsan native windows; do
    echo "--- $suite:"
    grep -E '^[0-9]+% tests passed|tests failed out of|Total Test time' "$logs/$suite.txt" || echo "(no summary: build or start failed)"
done
if [ $status -eq 0 ]; then echo "make test: everything passed"; else echo "make test: FAILED"; fi
exit $status
