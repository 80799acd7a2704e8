#!/usr/bin/env bash
# Builds the trainer (Release) with its benchmarks and prints their figures: start-up and peak
# memory against a bare Qt window, the time of each kind of event, and whole runs of the core.
# Arguments go to every benchmark (e.g. --runs 200).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh -DBUILD_TESTING=ON >/dev/null
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
echo "machine: $(nproc) cores, $(uname -m), $(date -u +%Y-%m-%dT%H:%MZ)"
build/bench/bench_startup "$@"
build/bench/bench_events "$@"
build/bench/bench_core_run "$@"
