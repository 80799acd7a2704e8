#!/usr/bin/env bash
# The Windows installer under Wine, as a school's machine would get it: installed silently into
# a fresh Wine prefix on a virtual screen; the installed program started, one law answered in
# its real window with xdotool, the window closed as Windows closes it; the run read back with
# --export-journal as CSV and as a workbook (read with openpyxl); the window at 100 % compared
# with the Linux program's: the same controls in the same places.
#   tests/windows/wine_smoke.sh out/zakony-logiki-<version>-win64-setup.exe [LINUX-PROGRAM]
set -euo pipefail
export LC_ALL=C.UTF-8 # Wine names files in the locale's character set: the Russian entries
setup=$(realpath "$1")
linux=${2:+$(realpath "$2")}
work=$(mktemp -d)
xvfb=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "wine_smoke: $*" >&2; exit 1; }

export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:$((100 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
wineboot -i >/dev/null 2>&1

# Installed silently: the program, its uninstaller and both Start-menu entries.
wine "$setup" /S
wineserver -w
folder="$WINEPREFIX/drive_c/Program Files/zakony-logiki"
program="$folder/zakony-logiki.exe"
[ -f "$program" ] || fail "no $program"
[ -f "$folder/uninstall.exe" ] || fail "no uninstaller"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
for entry in "Законы логики" "Законы логики — журнал класса"; do
  [ -f "$menu/$entry.lnk" ] || fail "no Start-menu entry «$entry»"
done

# One law answered in the trainer: x ∨ y = y ∨ x, its right side typed. Positions are the
# controls' at 100 %, from their places in twips (a fifteenth of a pixel).
journal=$work/journal
mkdir -p "$journal"
wine "$program" --journal "$(winepath -w "$journal")" --zoom 100 >"$work/program.log" 2>&1 &
window=
for _ in $(seq 120); do
  window=$(xdotool search --onlyvisible --name "^Form1$" 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "no window"
sleep 2
import -window "$window" "$work/windows.png"
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.5; }
click 368 352 # «Тренажер»
click 584 264 # «Старт»
xdotool key --window "$window" --delay 100 y v x 2>/dev/null # Xvfb has no focus to tell
sleep 0.5
click 456 224 # «Проверить»
sleep 1
wine taskkill /im zakony-logiki.exe >/dev/null 2>&1 || true # a close, as at a log-off
wineserver -w
ls "$journal"/*.txt >/dev/null 2>&1 || fail "no run file in the journal"

# The run read back: CSV and workbook.
wine "$program" --journal "$(winepath -w "$journal")" --export-journal "$(winepath -w "$work/runs.csv")"
wine "$program" --journal "$(winepath -w "$journal")" --export-journal "$(winepath -w "$work/runs.xlsx")"
wineserver -w
# One trainer's run of one right answer, ended by the window's closing.
grep -q ";Тренажёр;1;1;0;;окно закрыто;" "$work/runs.csv" ||
  fail "the run is not in the CSV as answered: $(cat "$work/runs.csv")"
/usr/bin/python3 - "$work/runs.xlsx" <<'PY' || fail "the workbook does not hold the run"
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1], read_only=True)
cells = [str(c) for sheet in book.worksheets for row in sheet.iter_rows(values_only=True) for c in row if c is not None]
assert any("Переместительный закон для ИЛИ" in c for c in cells), cells[:40]
PY
# The same window from the Linux program on the same screen. Text is drawn by another font engine
# and frames in another style, so what is compared is where the controls of fixed colours are:
# the slots, the pictures' symbols, the prompt and the title, each as the box of its pixels.
if [ -n "$linux" ]; then
  QT_QPA_PLATFORM=xcb "$linux" --no-journal --zoom 100 >/dev/null 2>&1 &
  linuxPid=$!
  window=
  for _ in $(seq 60); do
    window=$(xdotool search --onlyvisible --pid "$linuxPid" --name "^Form1$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || fail "no window of the Linux program"
  sleep 2
  import -window "$window" "$work/linux.png"
  kill "$linuxPid"
  /usr/bin/python3 - "$work/linux.png" "$work/windows.png" <<'PY' || fail "the Windows window differs from the Linux one"
import subprocess, sys
def pixels(path):
    w, h = map(int, subprocess.check_output(["identify", "-format", "%w %h", path]).split())
    return w, h, subprocess.check_output(["convert", path, "-depth", "8", "rgb:-"])
def box(image, colour):
    w, _, px = image
    found = [i // 3 for i in range(0, len(px), 3)
             if all(abs(px[i + k] - colour[k]) <= 10 for k in range(3))]
    return (min(p % w for p in found), min(p // w for p in found),
            max(p % w for p in found), max(p // w for p in found)) if found else None
linux, windows = pixels(sys.argv[1]), pixels(sys.argv[2])
assert linux[:2] == windows[:2], f"sizes {linux[:2]} and {windows[:2]}"
for name, colour in [("slots", (192, 192, 255)), ("symbols", (0, 0, 255)),
                     ("prompt", (0, 255, 255)), ("title", (0, 128, 0))]:
    a, b = box(linux, colour), box(windows, colour)
    assert a and b and all(abs(x - y) <= 2 for x, y in zip(a, b)), f"{name}: {a} and {b}"
    print(f"wine_smoke: {name} at {b}, as on Linux")
PY
fi
echo "wine_smoke: installed, answered, closed, exported: all well"
