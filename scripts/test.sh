#!/usr/bin/env bash
# Builds and runs every test. An optional argument names the preset:
# default (Release), asan (AddressSanitizer + UBSan), tsan (ThreadSanitizer,
# concurrency tests only) or clang. Chromium is installed when missing, for
# the test that reads the pictures' index in a browser.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/ensure-deps.sh
scripts/ensure-browser.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "${BUILD_JOBS:-2}"
ctest --preset "$preset" -j "$(nproc)"
