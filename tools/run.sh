#!/usr/bin/env bash
# Installs what is missing, builds, and opens the trainer's window.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
exec build/zakony-logiki
