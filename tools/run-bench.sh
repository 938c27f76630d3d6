#!/bin/bash
# Runs every native benchmark program of the bench build and collects Google Benchmark's JSON
# in build/bench/results.json (one object per program, keyed by program name).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/${ZUVO_BUILD_TAG:-}bench"
mapfile -t programs < <(find "$out" -type f -name '*_bench' -perm -u+x | sort)
if [ ${#programs[@]} -eq 0 ]; then
    echo "bench: no benchmark programs built yet"
    exit 0
fi
parts=()
for program in "${programs[@]}"; do
    name=$(basename "$program")
    echo "===== $name ====="
    "$program" --benchmark_out="$out/$name.json" --benchmark_out_format=json \
        --benchmark_repetitions="${ZUVO_BENCH_REPETITIONS:-5}" \
        --benchmark_report_aggregates_only=true
    parts+=("$name" "$out/$name.json")
done
# One file in Google Benchmark's own format: the context of the first program and the
# benchmarks of all of them.
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
