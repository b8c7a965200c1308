#!/usr/bin/env bash
# Builds the benchmarks into build/ (or $BUILD_DIR) and prints, for each operation, its time and
# its floor's with the loggers on (output dropped) and off, and the ratio operation / floor.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=load).
#
#   scripts/bench.sh --instructions   counts instructions instead (valgrind's callgrind), for
#                                     the loads only: repeatable on a busy machine
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/setup.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target bench_settings

if [ "${1:-}" = "--instructions" ]; then
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    printf '%-26s %12s %12s %7s   %12s %12s %7s\n' "load (instructions/call)" "logs on" "floor" "ratio" "logs off" "floor" "ratio"
    for name in "load current" "load legacy" "load 1 entries" "load 10 entries" "load 100 entries" "load 1000 entries" "load 10000 entries"; do
        row=$(printf '%-26s' "$name")
        for logs in on off; do
            LD_BIND_NOW=1 valgrind --tool=callgrind --callgrind-out-file="$out/$logs.cg" "$build_dir/bench/bench_settings" \
                --logs=$logs --benchmark_filter="^$name(\\.floor)?\$" --benchmark_min_time=0.01 >/dev/null 2>&1
            row+=$(python3 - "$out/$logs.cg" <<'PY'
import re, sys
# Inclusive instructions per call of the operation and of its floor, from the call records.
names, totals = {}, {"VdSessionSettings::loadFromVdp": [0, 0], "readParseWalk": [0, 0]}
lines = open(sys.argv[1]).read().split("\n")
for i, line in enumerate(lines):
    m = re.match(r"c?fn=\((\d+)\)(?: (.*))?", line)
    if not m:
        continue
    if m.group(2):
        names[m.group(1)] = m.group(2)
    if line.startswith("cfn="):
        for key, total in totals.items():
            if key in names.get(m.group(1), ""):
                total[0] += int(re.match(r"calls=(\d+)", lines[i + 1]).group(1))
                total[1] += int(lines[i + 2].split()[1])
op, floor = (t[1] / max(t[0], 1) for t in totals.values())
print(" %12d %12d %6.2fx  " % (op, floor, op / floor), end="")
PY
)
        done
        echo "$row"
    done
    exit 0
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for logs in on off; do
    "$build_dir/bench/bench_settings" --logs=$logs --benchmark_repetitions="${BENCH_REPETITIONS:-5}" \
        --benchmark_min_time="${BENCH_MIN_TIME:-0.2}" --benchmark_report_aggregates_only=true \
        --benchmark_format=json --benchmark_out="$out/$logs.json" --benchmark_out_format=json "$@" >/dev/null
done

python3 - "$out/on.json" "$out/off.json" <<'PY'
import json, sys

def medians(path):
    result = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name", "median") == "median":
            result[b.get("run_name", b["name"])] = b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return result

def show(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return "%.1f %s" % (ns / scale, unit)
    return "%.0f ns" % ns

on, off = medians(sys.argv[1]), medians(sys.argv[2])
print("%-26s %10s %10s %7s   %10s %10s %7s" % ("operation (median CPU)", "logs on", "floor", "ratio", "logs off", "floor", "ratio"))
for name in on:
    if name.endswith(".floor") or name + ".floor" not in on:
        continue
    row = "%-26s %10s %10s %6.2fx" % (name, show(on[name]), show(on[name + ".floor"]), on[name] / on[name + ".floor"])
    if name in off and name + ".floor" in off:
        row += "   %10s %10s %6.2fx" % (show(off[name]), show(off[name + ".floor"]), off[name] / off[name + ".floor"])
    print(row)
PY
