#!/usr/bin/env bash
# Lays out every C++ file of the project as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}
find src tests tools \( -name '*.cpp' -o -name '*.h' \) -not -path '*/corpus/*' -print0 |
    xargs -0 "$clang_format" -i
