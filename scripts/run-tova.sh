#!/usr/bin/env bash
# Starts the program with the bundled sample drawing; under Xvfb when there
# is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
exe=$build/src/app/tova
# The build puts a copy of the sample beside the program, so saving it in
# the host never touches the one in the repository.
export TOVA_HOST_DRAWINGS=${TOVA_HOST_DRAWINGS:-$(dirname "$exe")/samples/sample_layers.dxf}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$exe"
fi
exec "$exe"
