#!/usr/bin/env bash
# Builds the project and runs the main job: the host program loads the
# plug-in and plays a scenario (the built-in one unless a file is given).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target flamer_host plFlamer
exec build/default/host/app/flamer_host "$@"
