#!/usr/bin/env bash
# Sets up what is missing and builds everything into ./build. Arguments go
# to CMake's configure step (the test command turns warnings into errors).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j"$(nproc)"
