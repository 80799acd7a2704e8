#!/usr/bin/env bash
# Installs the Debian packages the trainer needs, if any is missing:
#   tools/setup.sh run    what building and running the program need
#   tools/setup.sh        that and everything the tests, the fuzzer and the package checks need
set -euo pipefail

# Each list is one line of the README's set-up section: keep them in step.
packages=(
  cmake ninja-build g++ pkg-config            # build
  qt6-base-dev qt6-svg-dev                    # Qt 6 Widgets, Svg, Test and the moc
  libxlsxwriter-dev zlib1g-dev                # the journal as a workbook (.xlsx); its pkg-config
                                              # file links -lz but the package does not bring it
  fonts-paratype                              # run: PT Sans, the window's font, drawn for Cyrillic
  qt6-translations-l10n                       # run: Qt's own dialogs and messages in Russian
)
if [ "${1:-}" != run ]; then
  packages+=(
    xvfb xauth xdotool                          # a virtual screen and a real mouse for the tests
    openbox x11-utils                           # a window manager for full screen; xwininfo, xprop
    libxcb1-dev                                 # the monkey test talks to the X server itself
    desktop-file-utils appstream dpkg-dev file  # checks of the desktop entry, metadata and package
    lintian                                     # Debian's own checks of the package
    rpm rpmlint cpio                            # the .rpm: rpmbuild, rpm's queries, its checks
    libxml2-utils                               # xmllint, to read the metadata in those checks
    strace                                      # the journal tests inject failed syncs and kills
    python3-openpyxl                            # reads the exported workbook back in the tests
    locales                                     # ru_RU.UTF-8 made by localedef for the locale tests
    clang libclang-rt-14-dev                    # libFuzzer and the sanitizers' runtimes for clang
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
