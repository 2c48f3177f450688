#!/usr/bin/env bash
# Fails when a C++ file of the project is not laid out as .clang-format says;
# scripts/format.sh lays them out. The test run calls it (the "formatting"
# test), with the clang-format that scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(find src tests tools \( -name '*.cpp' -o -name '*.h' \) -not -path '*/corpus/*' | sort)
"$clang_format" --dry-run --Werror "${files[@]}"
echo "${#files[@]} files laid out as .clang-format says"
