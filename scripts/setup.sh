#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test.
# Safe to run again: it installs only what is missing.
set -euo pipefail

# clang, its sanitizer and libFuzzer runtimes and llvm-symbolizer are for the
# sanitizer build (scripts/sanitize.sh); the ordinary build uses g++.
# qt6-svg-dev draws the program's icon; zlib1g-dev inflates gzip-compressed
# ride files; desktop-file-utils and appstream validate the installed desktop
# entry and AppStream description, and shared-mime-info compiles the
# program's ride file types (the install test); python3's csv module reads
# the exported spreadsheet file back in a test, and checks the folders'
# layering; clang-format checks the layout of the code. The windows are laid
# out for the condensed cut of DejaVu Sans, which fonts-dejavu-extra holds.
# libqt6sql6-psql reaches a club's store on a PostgreSQL server; the tests
# start a throwaway server of postgresql-15 (scripts/test-server.sh).
packages=(cmake g++ ninja-build qt6-base-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql
          postgresql-15 qt6-charts-dev
          qt6-svg-dev libgl-dev zlib1g-dev xvfb xauth fonts-dejavu-core fonts-dejavu-extra
          desktop-file-utils appstream shared-mime-info python3 clang-format
          clang libclang-rt-14-dev llvm)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
