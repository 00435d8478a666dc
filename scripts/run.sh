#!/usr/bin/env bash
# Builds the project and runs the main job: the host program loads the
# plug-in and plays a scenario (the built-in one unless a file is given).
# Paths among the arguments are taken relative to the folder it is run from.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
(
  cd "$root"
  scripts/ensure-deps.sh
  cmake --preset default >/dev/null
  cmake --build --preset default -j "${BUILD_JOBS:-2}" --target flamer_host plFlamer >&2
)
exec "$root/build/default/host/app/flamer_host" "$@"
