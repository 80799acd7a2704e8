#!/usr/bin/env bash
# Installs what building and running need, builds the program alone, and opens its window.
# (tools/test.sh installs and builds everything else: the tests, the fuzzer, the package.)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh run
# A build folder configured before (by tools/test.sh, say) keeps its tests.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build build --target zakony-logiki
exec build/app/zakony-logiki "$@"
