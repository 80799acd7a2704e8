#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the test suite on the Release build (build/);
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/);
#   3. the fuzzer over the core for FUZZ_TIME seconds, 60 by default (build-fuzz/).
# --quick runs the first alone. Any failure stops the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
[ "${1:-}" = "--quick" ] && quick=true

stage() { printf '\n==== %s\n' "$*"; }

tools/setup.sh
stage "test suite (Release)"
tools/build.sh -DBUILD_TESTING=ON
stage "the README's run command: tools/run.sh --version"
expected=$(sed -n 's/^project(zakony-logiki VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
shown=$(tools/run.sh --version | tail -n 1)
echo "$shown"
[[ "$shown" == *" $expected" ]] || { echo "tools/run.sh --version: expected version $expected" >&2; exit 1; }
(cd build && ctest --output-on-failure --timeout 600 -j2)
$quick && exit 0

stage "test suite with AddressSanitizer and UndefinedBehaviorSanitizer"
tools/sanitize.sh
stage "fuzzing the core"
tools/fuzz.sh "${FUZZ_TIME:-60}"
stage "all passed"
