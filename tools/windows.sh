#!/usr/bin/env bash
# Builds the Windows installer on Debian 12, as root, with Debian's own toolchain:
#   tools/windows.sh      -> out/zakony-logiki-<version>-win64-setup.exe
# The first run builds a static Qt for x86_64-w64-mingw32 from Debian's qt6-base source
# (about an hour on two cores); later runs reuse it from the cache
# (ZL_WIN_CACHE, by default /var/cache/zakony-logiki-win). Not part of CI: too long.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
cache=${ZL_WIN_CACHE:-/var/cache/zakony-logiki-win}
jobs=${ZL_WIN_JOBS:-2}
qt=$cache/qt6-mingw
mkdir -p "$cache"
[ "$(id -u)" -eq 0 ] || { echo "tools/windows.sh: run as root (it installs packages)" >&2; exit 1; }

# --- Debian's packages: the cross compiler, Wine to run the tests, NSIS for the installer
packages=(g++-mingw-w64-x86-64-posix mingw-w64 libz-mingw-w64-dev wine wine64 nsis
  dpkg-dev cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-svg-dev xvfb xauth xdotool
  python3-openpyxl fonts-paratype)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# --- Qt 6 for Windows, static, from Debian's source of the same version as the host's tools
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  list=/etc/apt/sources.list.d/zakony-logiki-src.sources
  if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' >"$list"
    apt-get update -qq
  fi
  hostver=$(dpkg-query -W -f='${Version}' qt6-base-dev)
  qtsrc=$(ls -d "$cache"/qt6-base-*/ 2>/dev/null | head -1 || true)
  if [ -z "$qtsrc" ]; then
    (cd "$cache" && apt-get source -qq "qt6-base=$hostver")
    qtsrc=$(ls -d "$cache"/qt6-base-*/ | head -1)
  fi
  rm -rf "$cache/qt-build" && mkdir -p "$cache/qt-build"
  start=$(date +%s)
  (cd "$cache/qt-build" &&
    nice -n 19 "$qtsrc/configure" -prefix "$qt" -static -release -optimize-size \
      -xplatform win32-g++ -qt-host-path /usr \
      -nomake examples -nomake tests \
      -qt-zlib -qt-pcre -qt-libpng -qt-freetype -qt-harfbuzz -qt-libjpeg \
      -no-feature-network -no-feature-sql -no-dbus -no-feature-printsupport \
      -no-opengl -no-feature-vulkan -no-feature-tabletevent \
      -no-feature-direct2d -no-feature-directwrite -no-feature-directwrite3 \
      -no-feature-concurrent -no-feature-xml \
      -- -DCMAKE_TOOLCHAIN_FILE="$src/tools/mingw-w64.cmake" \
         -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DCMAKE_BUILD_TYPE=Release &&
    nice -n 19 cmake --build . --parallel "$jobs" &&
    nice -n 19 cmake --install .)
  echo "Qt for Windows built in $(( ($(date +%s) - start) / 60 )) min into $qt"
fi
echo "tools/windows.sh: Qt for Windows is in $qt"
