#!/usr/bin/env bash
# The installed desktop entry: clean for desktop-file-validate, the keys the menus read, and a
# command and an icon that resolve inside the same installation.
#   check_desktop_entry.sh <stage dir>
set -euo pipefail
stage=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

shopt -s nullglob
entries=("$stage"/share/applications/*.desktop)
[[ ${#entries[@]} -eq 1 ]] || fail "expected one desktop entry, found ${#entries[@]}"
entry=${entries[0]}
id=$(basename "$entry" .desktop)
echo "desktop entry: $entry"

# Hints count too: a clean entry gives no output at all.
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[[ -z $report ]] || fail "desktop-file-validate is not silent: $report"
echo "desktop-file-validate: no errors, warnings or hints"

# Value of a key (Name, or Name[ru] for a translation) in a group; key() reads [Desktop Entry].
value() {
  awk -F= -v group="[$1]" -v k="$2" '/^\[/ { g = ($0 == group) } g && $1 == k { sub(/^[^=]*=/, ""); print; exit }' "$entry"
}
key() { value "Desktop Entry" "$1"; }

[[ $(key Type) == Application ]] || fail "Type is '$(key Type)'"
[[ $(key Name) == "Законы логики" ]] || fail "Name is '$(key Name)'"
LC_ALL=C.UTF-8 grep -qP '\p{Cyrillic}' <<<"$(key Comment)" || fail "Comment is not Russian: '$(key Comment)'"
[[ $(key Terminal) == false ]] || fail "Terminal is '$(key Terminal)'"
categories=";$(key Categories)"
[[ $categories == *";Education;"* ]] || fail "Categories lack Education: $categories"
[[ $categories == *";Math;"* ]] || fail "Categories lack Math: $categories"

# The menu starts the command from PATH, so Exec names a command installed in bin/.
read -r command _ <<<"$(key Exec)"
[[ -n $command && $command != */* ]] || fail "Exec should name a command from PATH: '$(key Exec)'"
[[ -f $stage/bin/$command && -x $stage/bin/$command ]] || fail "Exec's $command is not in $stage/bin"

# Icon themes find the icon by the entry's id, in every size the panels and menus ask for.
[[ $(key Icon) == "$id" ]] || fail "Icon '$(key Icon)' is not the entry's id '$id'"
hicolor=$stage/share/icons/hicolor
for side in 16 24 32 48 64 128 256; do
  [[ -f $hicolor/${side}x${side}/apps/$id.png ]] || fail "no ${side}x${side} icon for $id"
done
[[ -f $hicolor/scalable/apps/$id.svg ]] || fail "no scalable icon for $id"

# Docks tie the window to this entry by its WM_CLASS; its instance part is the program's name.
[[ $(key StartupWMClass) == "$command" ]] || fail "StartupWMClass '$(key StartupWMClass)' is not '$command'"

# The teacher's menu entry is an action of this one entry: the same program, the class view alone.
[[ ";$(key Actions)" == *";class;"* ]] || fail "Actions lack class: '$(key Actions)'"
class_name="Законы логики — журнал класса"
for name_key in Name "Name[ru]"; do
  [[ $(value "Desktop Action class" "$name_key") == "$class_name" ]] ||
    fail "the class action's $name_key is '$(value "Desktop Action class" "$name_key")'"
done
[[ $(value "Desktop Action class" Exec) == "$command --class" ]] ||
  fail "the class action's Exec is '$(value "Desktop Action class" Exec)', not '$command --class'"

echo "Exec=$command, Icon=$id: both resolve; action class: $command --class"
