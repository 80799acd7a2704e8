#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
cpack --config build/CPackConfig.cmake -G DEB -B out
ls -l out/*.deb
