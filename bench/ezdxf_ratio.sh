#!/usr/bin/env bash
# Loads the 10,000-layer, 100,000-entity drawing with the host and with ezdxf
# and prints both times and their ratio.
set -euo pipefail
build=${1:-build-bench}
file=$(mktemp --suffix=.dxf)
trap 'rm -f "$file"' EXIT
"$build"/bench/bench_write_drawing 10000 100000 "$file"
host_ms=$("$build"/bench/bench_host_dxf --benchmark_filter='BM_Load/10000/100000' --benchmark_format=json \
  | /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["benchmarks"][0]["real_time"])')
ezdxf_ms=$(/usr/bin/python3 - "$file" <<'PY'
import sys, time, ezdxf
t = time.perf_counter(); ezdxf.readfile(sys.argv[1]); print((time.perf_counter() - t) * 1000)
PY
)
size=$(stat -c %s "$file")
/usr/bin/python3 -c "h=$host_ms; e=$ezdxf_ms; s=$size/1e6; print(f'load {s:.1f} MB (10,000 layers, 100,000 entities): host {h:.1f} ms ({s/h*1000:.0f} MB/s), ezdxf {e:.0f} ms, ratio {e/h:.0f}x')"
