#!/usr/bin/env bash
# Installs the build into a private prefix, laid out as the package lays it out, for the
# checks of the desktop entry, the metadata and the icons.
#   stage_install.sh <cmake> <build dir> <stage dir>
set -euo pipefail
cmake=$1 build=$2 stage=$3

rm -rf "$stage"
"$cmake" --install "$build" --prefix "$stage"
