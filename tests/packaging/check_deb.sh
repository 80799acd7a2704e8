#!/usr/bin/env bash
# Builds the Debian package with CPack and checks its control fields and contents, its changelog,
# and that lintian finds no error in it. As root it then installs it with apt-get, starts the
# program the menu entry names on a virtual screen, checks that it needs nothing beyond the
# package's Depends, closes it and purges the package, leaving no file behind. Never leaves the
# package installed, even on failure. <fortified> is ON where the build fortifies libc calls
# (optimised builds without sanitizers).
#   check_deb.sh <cpack> <build dir> <work dir> <project version> <fortified>
set -euo pipefail
cpack=$1 build=$2 work=$3 version=$4 fortified=${5:-ON}
pkg=zakony-logiki
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }

shopt -s nullglob
debs=("$work"/${pkg}_*.deb)
[[ ${#debs[@]} -eq 1 ]] || fail "expected one ${pkg}_*.deb, found ${#debs[@]}"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb --info "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == "$pkg" ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', the project is $version"
[[ $(field Section) == education ]] || fail "Section is '$(field Section)'"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Maintainer) == *"<"*"@"*">" ]] || fail "Maintainer has no address: '$(field Maintainer)'"
# Both halves of Depends: the font and Qt's translations asked for by name, and what
# dpkg-shlibdeps found; the xcb platform plugin ships in libqt6gui6.
depends=", $(field Depends),"
for dep in fonts-paratype qt6-translations-l10n libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libc6; do
  [[ $depends == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
done

dpkg-deb --extract "$deb" "$work/root"
outside=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -vE '^\./(usr/.*)?$' || true)
[[ -z $outside ]] || fail "files outside /usr: $outside"
program=$work/root/usr/bin/$pkg
[[ -x $program ]] || fail "no /usr/bin/$pkg in the package"
file -b "$program" | grep -q ', stripped' || fail "the program is not stripped: $(file -b "$program")"
for path in "usr/share/applications/*.desktop" "usr/share/metainfo/*.metainfo.xml" \
            "usr/share/icons/hicolor/scalable/apps/*.svg" "usr/share/doc/$pkg/copyright" \
            "usr/share/doc/$pkg/changelog.gz" "usr/share/man/man1/$pkg.1.gz"; do
  found=("$work"/root/$path)
  [[ ${#found[@]} -eq 1 ]] || fail "expected one /$path in the package, found ${#found[@]}"
done
# The changelog's newest entry is this version: a new version needs an entry of its own.
changelog_version=$(zcat "$work/root/usr/share/doc/$pkg/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[[ $changelog_version == "$version" ]] ||
  fail "the changelog's newest entry is $changelog_version, the project is $version: add an entry to packaging/changelog"

# Debian's own checks of a package: no errors; warnings and the rest are shown.
command -v lintian >/dev/null || fail "lintian is not installed (tools/setup.sh installs it)"
lintian_status=0
lintian --tag-display-limit 0 --display-info "$deb" >"$work/lintian.log" 2>&1 || lintian_status=$?
sed 's/^/lintian: /' "$work/lintian.log"
! grep -q '^E: ' "$work/lintian.log" || fail "lintian reports errors"
[[ $lintian_status -eq 0 ]] || fail "lintian failed (exit $lintian_status)"
# The distributions' hardening (cmake/hardening.cmake), and a strip as thorough as dh_strip's.
unwanted=(hardening-no-bindnow hardening-no-relro hardening-no-pie binary-has-unneeded-section)
[[ $fortified != ON ]] || unwanted+=(hardening-no-fortify-functions)
for tag in "${unwanted[@]}"; do
  ! grep -qE "^[EWIP]: $pkg[^:]*: $tag( |\$)" "$work/lintian.log" || fail "lintian: $tag"
done
echo "lintian: no errors, $(grep -c '^W: ' "$work/lintian.log" || true) warnings, none of: ${unwanted[*]}"

if [[ $(id -u) -ne 0 ]]; then
  echo "skipped: needs root to install the package"
  exit 77
fi
status() { dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true; }
if [[ $(status) == installed ]]; then
  echo "skipped: $pkg is already installed on this machine, and this test would remove it"
  exit 77
fi

app_pid= xvfb_pid= installed=
cleanup() {
  [[ -z $app_pid ]] || kill "$app_pid" 2>/dev/null || true
  [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
  if [[ -n $installed && $(status) == installed ]]; then
    echo "cleanup: purging $pkg"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$pkg" >/dev/null 2>&1 || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

installed=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" \
  >"$work/apt-install.log" 2>&1 || { cat "$work/apt-install.log"; fail "apt-get install failed"; }
[[ $(status) == installed ]] || fail "dpkg does not list $pkg as installed"
dpkg -L "$pkg" | sort >"$work/files"
owned() { grep -qxF "$1" "$work/files"; }
# Kept before removal: what must be gone afterwards.
while read -r path; do
  [[ -d $path && ! -L $path ]] || echo "$path"
done <"$work/files" >"$work/plain-files"

# The menu entry as the desktop reads it.
entry=$(grep -E '^/usr/share/applications/[^/]+\.desktop$' "$work/files" | head -n1)
[[ -n $entry ]] || fail "no desktop entry installed"
key() { awk -F= -v k="$1" '/^\[/ { g = ($0 == "[Desktop Entry]") } g && $1 == k { sub(/^[^=]*=/, ""); print; exit }' "$entry"; }
read -r command _ <<<"$(key Exec)"
exe=$(PATH=/usr/bin:/bin command -v "$command") || fail "Exec's '$command' is not on PATH"
owned "$exe" || fail "Exec resolves to $exe, which the package does not own"
[[ -x $exe ]] || fail "$exe is not executable"
icon=$(key Icon)
for icon_file in /usr/share/icons/hicolor/48x48/apps/$icon.png /usr/share/icons/hicolor/scalable/apps/$icon.svg; do
  owned "$icon_file" && [[ -f $icon_file ]] || fail "Icon '$icon' does not resolve to $icon_file"
done
echo "installed: Exec → $exe, Icon → $icon in hicolor"

# A display of our own: -displayfd picks a free number without racing other tests' servers.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=:$(tr -d '\n' <"$work/display")

# Started as from the menu: a bare environment, with nothing from the build or the tests; its
# settings and journal go under the test's own home.
env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 \
  DISPLAY="$DISPLAY" "$exe" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -n1) ||
  { cat "$work/app.log"; fail "no window titled Form1 within 30 s"; }
[[ $(xdotool getwindowpid "$window") == "$app_pid" ]] || fail "the Form1 window is not our program's"
wm_class=$(key StartupWMClass)
xdotool search --classname "^$wm_class\$" | grep -qx "$window" ||
  fail "the window's WM_CLASS instance is not '$wm_class', as the entry says"
echo "window Form1 ($window) shown by $exe (pid $app_pid)"
# Qt's own texts in Russian, from the translations Depends brings.
! grep -q 'переводы Qt не найдены' "$work/app.log" || fail "$(cat "$work/app.log")"

# Nothing it needs comes from outside its Depends: every library the program and its platform
# plugin link belongs to a package in the Depends closure. Optional plugins it picks up on
# this machine are not needs.
apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
  --no-breaks --no-replaces --no-enhances "$pkg" | grep -v '^ ' | sed 's/:.*//' | sort -u >"$work/closure"
platform=$(grep -oE '/[^ ]*/qt6/plugins/platforms/[^ ]+\.so' "/proc/$app_pid/maps" | sort -u)
[[ $(wc -l <<<"$platform") -eq 1 && $platform == */libqxcb.so ]] || fail "platform plugin in use: '$platform'"
missing=$(ldd "$exe" "$platform" | grep "not found" || true)
[[ -z $missing ]] || fail "unresolved libraries: $missing"
libraries=$(ldd "$exe" "$platform" | grep -oE '/[^ ]+' | grep -v ':$' | sort -u)
# Debian registers some libraries under /lib, some under /usr/lib, some by their links' names.
spellings() {
  local real
  real=$(readlink -f "$1")
  printf '%s\n' "$1" "/usr$1" "${1#/usr}" "$real" "/usr$real" "${real#/usr}"
}
declare -A owner_of
# One dpkg -S for all: it takes half a second per call.
while IFS= read -r line; do
  owner_of[${line#*: }]=${line%%[:,]*}
done < <(for lib in $libraries; do spellings "$lib"; done | sort -u | xargs dpkg -S 2>/dev/null || true)
for lib in $libraries; do
  owner=
  for path in $(spellings "$lib"); do
    if [[ -n ${owner_of[$path]:-} ]]; then owner=${owner_of[$path]}; break; fi
  done
  [[ -n $owner ]] || fail "no package owns $lib"
  grep -qxF "$owner" "$work/closure" || fail "$lib comes from $owner, which Depends does not bring"
done
echo "libraries: $(wc -w <<<"$libraries") linked by the program and $(basename "$platform"), all from the Depends closure"

# The window's font is PT Sans, from the package Depends names for it.
font=
for _ in $(seq 50); do
  for f in $(grep -oE '/usr/share/fonts/[^ ]+' "/proc/$app_pid/maps" | sort -u); do
    if [[ $(dpkg -S "$f" 2>/dev/null) == fonts-paratype:* ]]; then font=$f; break; fi
  done
  if [[ -n $font ]]; then break; fi
  sleep 0.1
done
[[ -n $font ]] || fail "the program uses no font from fonts-paratype"
echo "font: $font"

kill -TERM "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=
# The server drops the window when it sees the client gone, which takes it a moment.
for _ in $(seq 50); do xdotool search --name '^Form1$' >/dev/null || break; sleep 0.1; done
! xdotool search --name '^Form1$' >/dev/null || fail "the window is still there after the program ended"
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$pkg" >"$work/apt-purge.log" 2>&1 ||
  { cat "$work/apt-purge.log"; fail "apt-get purge failed"; }
installed=
[[ $(status) != installed ]] || fail "$pkg is still installed after purge"
left=$(while read -r path; do if [[ -e $path || -L $path ]]; then echo "$path"; fi; done <"$work/plain-files")
[[ -z $left ]] || fail "left after purge: $left"
echo "purged: none of its $(wc -l <"$work/plain-files") files is left"
