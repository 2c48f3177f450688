#!/usr/bin/env bash
# Sets up what is missing, builds and runs every test, headless; then the
# same tests under the sanitizers and each fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DRYDEX_WARNINGS_AS_ERRORS=ON
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure --timeout 300 -j"$(nproc)")
bash scripts/sanitize.sh
