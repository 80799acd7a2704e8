#!/usr/bin/env bash
# The installed AppStream metadata: clean for appstreamcli (no errors, no warnings), one id
# shared with the desktop entry and the icon, and a newest release that names this version.
#   check_metainfo.sh <stage dir> <project version>
set -euo pipefail
stage=$1 version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

shopt -s nullglob
files=("$stage"/share/metainfo/*.metainfo.xml)
[[ ${#files[@]} -eq 1 ]] || fail "expected one metainfo file, found ${#files[@]}"
metainfo=${files[0]}

# Infos and pedantic notes are shown but allowed; errors and warnings are not.
clean() {
  local what=$1 report rc=0
  shift
  report=$("$@" 2>&1) || rc=$?
  echo "$what:"
  sed 's/^/  /' <<<"$report"
  [[ $rc -eq 0 ]] || fail "$what exited with $rc"
  ! grep -qE '^ *[EW]: ' <<<"$report" || fail "$what reports errors or warnings"
}
clean "appstreamcli validate --no-net --pedantic" appstreamcli validate --no-net --pedantic "$metainfo"
# The tree check also looks for the desktop entry the component launches.
clean "appstreamcli validate-tree --no-net" appstreamcli validate-tree --no-net "$stage"

text() { xmllint --xpath "string($1)" "$metainfo"; }
id=$(text /component/id)
[[ $(basename "$metainfo") == "$id.metainfo.xml" ]] || fail "file name does not match id '$id'"
launchable=$(text '/component/launchable[@type="desktop-id"]')
[[ $launchable == "$id.desktop" ]] || fail "launchable '$launchable' is not '$id.desktop'"
[[ -f $stage/share/applications/$launchable ]] || fail "launchable $launchable is not installed"
[[ -f $stage/share/icons/hicolor/scalable/apps/$id.svg ]] || fail "no icon named $id"
binary=$(text /component/provides/binary)
[[ -x $stage/bin/$binary ]] || fail "provided binary '$binary' is not installed"
[[ $(text '/component/name[not(@xml:lang)]') == "Законы логики" ]] || fail "name is not «Законы логики»"
# The teacher's menu entry is named in the description, as the desktop entry's action names it.
[[ $(text /component/description) == *"«Законы логики — журнал класса»"* ]] ||
  fail "the description does not mention the teacher's menu entry «Законы логики — журнал класса»"
# Software centres show an unrated program as unknown to parents and schools; the validator
# of this AppStream version does not insist.
[[ $(text '/component/content_rating/@type') == oars-1.1 ]] || fail "no OARS 1.1 content rating"

# Releases are listed newest first; the newest must be this version (trailing .0 may go).
release=$(text '/component/releases/release[1]/@version')
[[ $version == "$release" || $version == "$release.0" ]] ||
  fail "newest release is '$release' but the project is $version: add a <release>"

echo "id $id: file name, launchable, icon and binary agree; newest release $release"
