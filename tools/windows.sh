#!/usr/bin/env bash
# Builds the Windows installer on Debian 12, as root, with Debian's own toolchain:
#   tools/windows.sh      -> out/zakony-logiki-<version>-win64-setup.exe
# The first run builds a static Qt for x86_64-w64-mingw32 from Debian's qt6-base source and
# libxlsxwriter from Debian's source (about an hour on two cores); later runs reuse them from
# the cache (ZL_WIN_CACHE, by default /var/cache/zakony-logiki-win). Then the program is built
# in build-win/, its core and journal tests run as Windows programs under Wine, and the NSIS
# installer is made. Not part of CI: too long.
set -euo pipefail
cd "$(dirname "$0")/.."
# Wine names files in the locale's character set: the Start menu's Russian entries need UTF-8,
# which a bare root's environment does not set.
export LC_ALL=C.UTF-8
src=$PWD
cache=${ZL_WIN_CACHE:-/var/cache/zakony-logiki-win}
jobs=${ZL_WIN_JOBS:-2}
qt=$cache/qt6-mingw
mkdir -p "$cache"
[ "$(id -u)" -eq 0 ] || { echo "tools/windows.sh: run as root (it installs packages)" >&2; exit 1; }

# --- Debian's packages: the cross compiler, Wine to run the tests, NSIS for the installer
packages=(g++-mingw-w64-x86-64-posix mingw-w64 libz-mingw-w64-dev wine wine64 nsis
  dpkg-dev cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  libxlsxwriter-dev zlib1g-dev fonts-paratype xvfb xauth xdotool python3-openpyxl imagemagick)
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
  hostver=${hostver%+b[0-9]*} # a binary-only rebuild has its source's version
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
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$src/tools/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release -G Ninja)

# --- libxlsxwriter for Windows, static, with its bundled minizip and the mingw zlib
xlsx=$cache/xlsxwriter
if [ ! -f "$xlsx/lib/libxlsxwriter.a" ]; then
  xlsxsrc=$(ls -d "$cache"/libxlsxwriter-*/ 2>/dev/null | head -1 || true)
  if [ -z "$xlsxsrc" ]; then
    xlsxver=$(dpkg-query -W -f='${Version}' libxlsxwriter-dev)
    (cd "$cache" && apt-get source -qq "libxlsxwriter=${xlsxver%+b[0-9]*}")
    xlsxsrc=$(ls -d "$cache"/libxlsxwriter-*/ | head -1)
  fi
  nice -n 19 cmake -S "$xlsxsrc" -B "$cache/xlsxwriter-build" "${toolchain[@]}" \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$xlsx" -DCMAKE_INSTALL_LIBDIR=lib
  nice -n 19 cmake --build "$cache/xlsxwriter-build" --parallel "$jobs"
  cmake --install "$cache/xlsxwriter-build"
fi

# --- The build machine's render_icon (Qt Svg), which draws the symbols' PNGs and the icon, and
# the Linux program, whose window the smoke test compares with the Windows one
host=$src/build-win/host
cmake -S "$src" -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
nice -n 10 cmake --build "$host" --target render_icon zakony-logiki

# --- The program and its core and journal tests, for Windows; the tests run under Wine
export WINEPREFIX=$cache/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
win=$src/build-win/win64
PKG_CONFIG_LIBDIR=$xlsx/lib/pkgconfig cmake -S "$src" -B "$win" "${toolchain[@]}" \
  -DCMAKE_PREFIX_PATH="$qt;$xlsx" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_EXE_LINKER_FLAGS="-static -fstack-protector-strong" \
  -DZL_RENDER_ICON="$host/packaging/render_icon" -DBUILD_TESTING=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine
nice -n 10 cmake --build "$win" --parallel "$jobs"
(cd "$win" && ctest --output-on-failure -j"$jobs")

# --- The installer
version=$(sed -n 's/^project(zakony-logiki VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
stage=$src/build-win/stage
mkdir -p "$stage" "$src/out"
x86_64-w64-mingw32-strip -o "$stage/zakony-logiki.exe" "$win/app/zakony-logiki.exe"
setup=$src/out/zakony-logiki-$version-win64-setup.exe
makensis -V2 -XTarget\ amd64-unicode -INPUTCHARSET UTF8 -DVERSION="$version" \
  -DEXE="$stage/zakony-logiki.exe" -DICON="$win/app/zakony-logiki.ico" \
  -DFONT_LICENSE=/usr/share/doc/fonts-paratype/copyright -DOUTFILE="$setup" \
  "$src/packaging/windows/zakony-logiki.nsi"
echo "tools/windows.sh: $setup ($(du -h "$setup" | cut -f1))"

# --- The installer in a fresh Wine prefix: installed, started, one law answered, exported
[ "${ZL_WIN_SMOKE:-1}" = 0 ] || "$src/tests/windows/wine_smoke.sh" "$setup" "$host/app/zakony-logiki"
