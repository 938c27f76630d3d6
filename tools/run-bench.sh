#!/bin/bash
# Runs every native benchmark program of the bench build and the sector view's paint benchmark
# of the Windows build under Wine, and collects their Google Benchmark JSON in
# build/bench/results.json (one file: the context of the first program, the benchmarks of all).
#
# The paint benchmark runs once per screen size (ZUVO_WINBENCH_SIZES, default "1920x1080
# 3840x2160"), each time in a top-level window of that size on a private X screen of the same
# size. ZUVO_WINBENCH_SECONDS sets the length of its program-like run (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/${ZUVO_BUILD_TAG:-}bench"
windows="$root/build/${ZUVO_BUILD_TAG:-}windows"
winbench="$windows/benchbin/sector_paint_winbench.exe"
mkdir -p "$out"
parts=()

mapfile -t programs < <(find "$out" -type f -name '*_bench' -perm -u+x | sort)
for program in "${programs[@]}"; do
    name=$(basename "$program")
    echo "===== $name ====="
    nice -n 10 "$program" --benchmark_out="$out/$name.json" --benchmark_out_format=json \
        --benchmark_repetitions="${ZUVO_BENCH_REPETITIONS:-5}" \
        --benchmark_report_aggregates_only=true
    parts+=("$name" "$out/$name.json")
done

if [ -f "$winbench" ]; then
    for size in ${ZUVO_WINBENCH_SIZES:-1920x1080 3840x2160}; do
        [[ "$size" =~ ^[0-9]+x[0-9]+$ ]] || { echo "bench: '$size' is no WIDTHxHEIGHT" >&2; exit 2; }
        name="sector_paint_winbench_$size"
        echo "===== $name (Wine, X screen $size) ====="
        # An X screen of exactly this size (never the caller's display) and a wineserver for
        # the run on it, stopped however the run ends.
        ZUVO_USE_DISPLAY=0 ZUVO_SCREEN="${size}x24" "$root/tools/with-display" bash -c '
            root=$1; shift
            "$root/tools/wine-run" --start-server || exit 1
            nice -n 10 "$root/tools/wine-run" "$@"
            status=$?
            "$root/tools/wine-run" --stop-server
            exit $status' run "$root" "$winbench" --size "$size" \
            --seconds "${ZUVO_WINBENCH_SECONDS:-10}" --out "Z:$out/$name.json"
        parts+=("$name" "$out/$name.json")
    done
else
    echo "bench: $winbench not built; the paint under Wine is left out"
fi

if [ ${#parts[@]} -eq 0 ]; then
    echo "bench: no benchmark programs built yet"
    exit 0
fi
python3 - "$out/results.json" "${parts[@]}" <<'PY'
import json, sys
merged = None
args = sys.argv[2:]
for name, path in zip(args[0::2], args[1::2]):
    with open(path) as f:
        data = json.load(f)
    if merged is None:
        merged = data
    else:
        merged["benchmarks"].extend(data["benchmarks"])
with open(sys.argv[1], "w") as f:
    json.dump(merged, f, indent=1)
print(f"bench: results in {sys.argv[1]}")
PY
