#!/bin/bash
# `make fuzz`: builds the libFuzzer harnesses (preset "fuzz", build/fuzz) and runs each for
# FUZZ_SECONDS seconds (default 300), one after the other (the machine has two cores), on its
# seed corpus fuzz/corpus/<harness>/ and the new inputs of earlier runs. New corpus entries go
# to build/fuzz/corpus/<harness>/, crashing inputs to build/fuzz/crashes/<harness>/ and each
# run's output to build/fuzz/logs/<harness>.txt; the source tree is only read. Ends with one
# line per harness: executions, executions per second, coverage (libFuzzer's cov: and ft:) and
# crashes; exits non-zero when a harness crashed.
#   tools/run-fuzz.sh [harness ...]     (default: all)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-300}
harnesses=(settings_file number_lists radar_config recording gif_decoder serial_stream)
if [ $# -gt 0 ]; then
    harnesses=("$@")
fi

tools/setup.sh || exit 1
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1

out="$PWD/build/${ZUVO_BUILD_TAG:-}fuzz"
mkdir -p "$out/logs"
summary=()
status=0
for h in "${harnesses[@]}"; do
    program="$out/fuzz/fuzz_$h"
    if [ ! -x "$program" ]; then
        echo "fuzz: no harness $h" >&2
        status=1
        continue
    fi
    mkdir -p "$out/corpus/$h" "$out/crashes/$h"
    options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$out/crashes/$h/")
    [ -f "fuzz/dict/$h.dict" ] && options+=(-dict="$PWD/fuzz/dict/$h.dict")
    log="$out/logs/$h.txt"
    echo "===== fuzz: $h for $seconds s ====="
    "$program" "${options[@]}" "$out/corpus/$h" "$PWD/fuzz/corpus/$h" >"$log" 2>&1
    rc=$?
    execs=$(awk '/^stat::number_of_executed_units:/ { print $2 }' "$log" | tail -n 1)
    rate=$(awk '/^stat::average_exec_per_sec:/ { print $2 }' "$log" | tail -n 1)
    coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
    crashes=$(find "$out/crashes/$h" -type f | wc -l)
    if [ "$rc" -ne 0 ]; then
        status=1
        grep -E '^(==[0-9]+==ERROR|SUMMARY|fuzz check failed)' "$log" | head -n 5
    fi
    summary+=("$(printf '%-14s %12s execs %8s exec/s  %-22s %3d crashes%s' "$h" "${execs:-?}" \
        "${rate:-?}" "${coverage:-cov: ? ft: ?}" "$crashes" "$([ "$rc" -ne 0 ] && echo "  (stopped: see $log)")")")
done
echo
echo "===== fuzz summary ($seconds s per harness; crashes in $out/crashes/) ====="
printf '%s\n' "${summary[@]}"
exit $status
