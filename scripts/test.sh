#!/usr/bin/env bash
# Sets up what is missing, builds and runs every test, headless; then the
# same tests under the sanitizers and each fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
# ctest stops its PostgreSQL server when a run ends; a run killed outright
# leaves it running, so whatever ends this script stops what is left.
stop_servers() {
    bash scripts/test-server.sh stop build/tests/test-server || true
    bash scripts/test-server.sh stop build-asan/tests/test-server || true
}
trap stop_servers EXIT
bash scripts/build.sh -DRYDEX_WARNINGS_AS_ERRORS=ON
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure --timeout 300 -j"$(nproc)")
bash scripts/sanitize.sh
