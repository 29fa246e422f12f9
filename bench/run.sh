#!/usr/bin/env bash
# Runs every benchmark of a Release build and sets the DXF load beside ezdxf
# reading the same file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true
done
bash bench/ezdxf_ratio.sh "$build"
