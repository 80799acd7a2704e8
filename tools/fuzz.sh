#!/usr/bin/env bash
# Fuzzes the core for a while: builds the libFuzzer target in build-fuzz/ with clang and runs it
# on a scratch copy of the seed corpus. A crash input is kept in tests/fuzz/crashes/.
#   tools/fuzz.sh [SECONDS [SEED]]      (or FUZZ_TIME, FUZZ_SEED; defaults 60 s, seed 1)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${FUZZ_TIME:-60}}"
seed="${2:-${FUZZ_SEED:-1}}"
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=ON -DZL_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_core

# The run grows its own corpus; the committed seeds stay as they are.
work="$build/fuzz-run"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp tests/fuzz/corpus/* "$work/corpus/"

echo "fuzzing for ${seconds} s with -seed=${seed} (replay a run: tools/fuzz.sh ${seconds} ${seed})"
status=0
"$build/tests/fuzz/fuzz_core" "$work/corpus" -seed="$seed" -max_total_time="$seconds" \
  -max_len=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$work/artifacts/" || status=$?

shopt -s nullglob
found=("$work"/artifacts/{crash,leak,timeout,oom}-*)
if [ ${#found[@]} -gt 0 ]; then
  cp "${found[@]}" tests/fuzz/crashes/
  echo "FUZZER FOUND A FAULT (seed ${seed}): input kept in tests/fuzz/crashes/:" >&2
  for f in "${found[@]}"; do echo "  tests/fuzz/crashes/$(basename "$f")" >&2; done
  echo "read it with: ZL_FUZZ_TRACE=1 $build/tests/fuzz/fuzz_core tests/fuzz/crashes/<file>" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "the fuzzer exited with status ${status} without leaving a crash input" >&2
  exit "$status"
fi
echo "no fault found in ${seconds} s (seed ${seed})"
