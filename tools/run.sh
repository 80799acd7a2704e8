#!/usr/bin/env bash
# Installs what building and running need, builds the program alone, and opens its window.
# (tools/test.sh installs and builds everything else: the tests, the fuzzer, the package.)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target zakony-logiki
exec build/zakony-logiki "$@"
