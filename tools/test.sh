#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; the last line is CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh -DBUILD_TESTING=ON
cd build
ctest --output-on-failure --timeout 600 -j2
