#!/usr/bin/env bash
# Builds the benchmarks into build/ (or $BUILD_DIR) and prints, for each operation, its time and
# its floor's with the loggers on (output dropped) and off, and the ratio operation / floor.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=load).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/setup.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target bench_settings

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
