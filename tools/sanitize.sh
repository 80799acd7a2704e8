#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (g++) in build-asan/
# and runs the whole test suite there; any sanitizer report fails its test, and so this script.
# Extra arguments go to ctest (e.g. -R tst_hint). As root the .deb test installs the package too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build-asan

tools/setup.sh

# Debug: no optimiser to fold faults away, Q_ASSERT kept, and it compiles faster than -O2.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
  -DBUILD_TESTING=ON -DZL_SANITIZE=ON >/dev/null
cmake --build "$build" -j2

# The first report ends the program with a non-zero status. Leaks are checked at every exit.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:print_stacktrace=1:detect_leaks=1:\
detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:\
detect_odr_violation=2
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:report_error_type=1
export LSAN_OPTIONS=suppressions=$root/tools/sanitizers/lsan.supp:print_suppressions=0

# Nothing is excluded: the .deb test packages the sanitized program, whose Depends then
# name libasan8 and libubsan1 (Debian packages, found by dpkg-shlibdeps), and runs it as
# installed, so it still checks the package end to end.
cd "$build"
ctest -j2 --output-on-failure --timeout 600 "$@"
