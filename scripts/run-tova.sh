#!/usr/bin/env bash
# Starts the program with the bundled sample drawing; under Xvfb when there
# is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
export TOVA_HOST_DRAWINGS=${TOVA_HOST_DRAWINGS:-$PWD/data/samples/sample_layers.dxf}
exe=$build/src/app/tova
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$exe"
fi
exec "$exe"
