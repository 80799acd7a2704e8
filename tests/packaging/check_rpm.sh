#!/usr/bin/env bash
# Builds the RPM package with CPack and checks it with rpm's own tools: its tags, its files and
# the directories it claims, requirements that are sonames alone (so one package serves ALT and
# RED OS, whose package names differ), no scriptlets, and no errors from rpmlint.
#   check_rpm.sh <cpack> <build dir> <work dir> <project version>
set -euo pipefail
cpack=$1 build=$2 work=$3 version=$4
pkg=zakony-logiki
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in rpmbuild rpm rpm2cpio rpmlint; do
  command -v "$tool" >/dev/null ||
    { echo "skipped: $tool is not installed (tools/setup.sh installs rpm and rpmlint)"; exit 77; }
done

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -G RPM -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }

shopt -s nullglob
rpms=("$work"/$pkg-*.rpm)
[[ ${#rpms[@]} -eq 1 ]] || fail "expected one $pkg-*.rpm, found ${#rpms[@]}"
rpm=${rpms[0]}
echo "package: $(basename "$rpm"), $(stat -c %s "$rpm") bytes"
rpm -qpi "$rpm"

tag() { rpm -qp --qf "%{$1}" "$rpm"; }
[[ $(tag NAME) == "$pkg" ]] || fail "Name is '$(tag NAME)'"
[[ $(tag VERSION) == "$version" ]] || fail "Version is '$(tag VERSION)', the project is $version"
[[ $(tag ARCH) == "$(uname -m)" ]] || fail "Arch is '$(tag ARCH)'"
[[ $(tag LICENSE) == MIT ]] || fail "License is '$(tag LICENSE)'"
[[ $(tag URL) == https://* ]] || fail "URL is '$(tag URL)'"
[[ $(tag PACKAGER) == *"<"*"@"*">" ]] || fail "Packager has no address: '$(tag PACKAGER)'"
[[ $(tag PREFIXES) == "(none)" ]] || fail "relocatable to $(tag PREFIXES): menus look in /usr only"

# Contents: everything the desktop needs, and nothing outside /usr.
rpm -qpl "$rpm" >"$work/files"
for path in /usr/bin/$pkg /usr/share/doc/$pkg/copyright /usr/share/doc/$pkg/changelog.gz \
            /usr/share/man/man1/$pkg.1.gz /usr/share/man/ru/man1/$pkg.1.gz; do
  grep -qxF "$path" "$work/files" || fail "$path is not in the package"
done
for pattern in '/usr/share/applications/[^/]+\.desktop' '/usr/share/metainfo/[^/]+\.metainfo\.xml' \
               '/usr/share/icons/hicolor/scalable/apps/[^/]+\.svg'; do
  [[ $(grep -cxE "$pattern" "$work/files") -eq 1 ]] || fail "expected one $pattern in the package"
done
for side in 16 24 32 48 64 128 256; do
  grep -qxE "/usr/share/icons/hicolor/${side}x${side}/apps/[^/]+\.png" "$work/files" ||
    fail "no ${side}x${side} icon in the package"
done
outside=$(grep -v '^/usr/' "$work/files" || true)
[[ -z $outside ]] || fail "files outside /usr: $outside"

# Directories it claims as its own: only its doc folder. /usr/share, the icon theme and the
# manual's folders belong to the system; claiming them breaks removal on ALT and RED OS.
rpm -qp --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' "$rpm" >"$work/modes"
owned_dirs=$(awk '/^d/ { print $2 }' "$work/modes")
[[ $owned_dirs == "/usr/share/doc/$pkg" ]] || fail "claims directories: $(tr '\n' ' ' <<<"$owned_dirs")"
grep -qxE -- "-rwxr-xr-x /usr/bin/$pkg" "$work/modes" || fail "/usr/bin/$pkg is not rwxr-xr-x"

# Nothing runs at install or removal: menus and icon caches follow by the systems' own triggers.
scripts=$(rpm -qp --scripts "$rpm")
[[ -z $scripts ]] || fail "the package has scripts: $scripts"
echo "scripts: none"

# Requirements: sonames as rpm found them in the program, and rpm's own capabilities; no
# distribution's package name, as those differ between ALT and RED OS.
rpm -qpR "$rpm" | sort -u >"$work/requires"
sed 's/^/requires: /' "$work/requires"
foreign=$(grep -vE '^(lib[^ ]+\.so[^ ]*|ld-linux[^ ]*\.so[^ ]*|rpmlib\([^)]+\)( .*)?|rtld\([^)]+\))$' "$work/requires" || true)
[[ -z $foreign ]] || fail "requirements that are no soname: $foreign"
mkdir -p "$work/root"
(cd "$work/root" && rpm2cpio "$rpm" | cpio -idm --quiet)
needed=$(readelf -d "$work/root/usr/bin/$pkg" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for soname in $needed; do
  grep -qxF "$soname()(64bit)" "$work/requires" || grep -qxF "$soname" "$work/requires" ||
    fail "the program needs $soname, which Requires does not name"
done
for soname in libQt6Widgets.so.6 libQt6Gui.so.6 libQt6Core.so.6 libQt6Svg.so.6 libc.so.6; do
  grep -q "^$soname(" "$work/requires" || fail "Requires lacks $soname"
done
file -b "$work/root/usr/bin/$pkg" | grep -q ', stripped' || fail "the program is not stripped"
echo "requires: the $(wc -w <<<"$needed") libraries the program links, by soname, and nothing else"

# rpmlint with the target distributions' settings (see rpmlint.toml): no errors.
lint_status=0
rpmlint -c "$here/rpmlint.toml" "$rpm" >"$work/rpmlint.log" 2>&1 || lint_status=$?
sed 's/^/rpmlint: /' "$work/rpmlint.log"
! grep -q ': E: ' "$work/rpmlint.log" || fail "rpmlint reports errors"
[[ $lint_status -eq 0 ]] || fail "rpmlint failed (exit $lint_status)"
echo "rpmlint: no errors, $(grep -c ': W: ' "$work/rpmlint.log" || true) warnings"
