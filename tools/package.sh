#!/usr/bin/env bash
# Installs what is missing, builds, and makes both packages in out/: the .deb (Debian, Astra
# Linux) and the .rpm (ALT, RED OS).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
cpack --config build/CPackConfig.cmake -G DEB -B out
cpack --config build/CPackConfig.cmake -G RPM -B out
ls -l out/*.deb out/*.rpm
