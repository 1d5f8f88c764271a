#!/usr/bin/env bash
# A user's first run of the real tarnwick.exe under Wine on a virtual display, driven with the
# keyboard through xdotool (run by hand; writes screenshots):
#   tests/win/smoke_under_wine.sh BUILT_TARNWICK_EXE OUT_FOLDER
# Starts in an empty folder, checks the main window and its first-start Settings.ini, scans a
# small tree with GO, saves the rows with "Save to zip file", closes the scan window, answers the
# exit question and waits for the splash to end. Screenshots: main.png, scan.png, splash.png.
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out" && mkdir -p "$out/run" "$out/tree/docs/deep" "$out/tree/Temp"
cp "$exe" "$out/run/tarnwick.exe"
printf 'report' >"$out/tree/docs/report.docx"
printf 'sheet' >"$out/tree/docs/deep/budget.xlsx"
printf 'mail' >"$out/tree/docs/deep/archive.pst"
printf 'skip' >"$out/tree/Temp/skipped.doc"
printf 'text' >"$out/tree/docs/notes.txt"

export WINEPREFIX=$out/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for n in $(seq 260 300); do [ -e "/tmp/.X$n-lock" ] || { export DISPLAY=":$n"; break; }; done
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
sleep 1
openbox >/dev/null 2>&1 &
wineboot --init >/dev/null 2>&1 && wineserver -w
fonts=/usr/share/wine/fonts key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
cp "$fonts/tahoma.ttf" "$fonts/tahomabd.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg add "$key" /v "Tahoma (TrueType)" /d tahoma.ttf /f >/dev/null 2>&1
wine reg add "$key" /v "Tahoma Bold (TrueType)" /d tahomabd.ttf /f >/dev/null 2>&1

waitwin() { for _ in $(seq 150); do xdotool search --name "$1" 2>/dev/null | head -1 && return 0; sleep 0.2; done; echo "no window: $1" >&2; return 1; }
shot() { sleep 1; import -frame -window "$1" "$out/$2"; echo "screenshot $2"; }
keys() { xdotool key --delay 150 "$@" 2>/dev/null; }

(cd "$out/run" && exec wine ./tarnwick.exe </dev/null >/dev/null 2>&1) &
app=$!
main=$(waitwin "Free and open source - Tarnwick")
echo "Settings.ini: $(stat -c %s "$out/run/Settings.ini") bytes"
shot "$main" main.png
xdotool windowactivate --sync "$main" 2>/dev/null || true
# The focus starts in the pattern list: Shift+Tab twice reaches the folder box.
keys shift+Tab shift+Tab ctrl+a
xdotool type --delay 30 "Z:${out//\//\\}\\tree"
# Tab: Browse, the pattern list, Add, then GO (Edit and Remove are disabled).
keys Tab Tab Tab Tab space
waitwin "^Tarnwick$" >/dev/null
sleep 2
keys Return   # "Scanning is complete."
sleep 1
scan=$(xdotool search --name "^Tarnwick$" | head -1)
shot "$scan" scan.png
# "Save to zip file" is first in the scan window's tab order.
xdotool windowactivate --sync "$scan" 2>/dev/null || true
keys Tab space
sleep 3
waitwin "Archive scanned files" >/dev/null
sleep 1
keys ctrl+a
xdotool type --delay 30 "Z:${out//\//\\}\\backup"
sleep 1
import -window root "$out/save-dialog.png"
keys Return
sleep 3
keys Return   # "Successfully archived all files into ..."
sleep 1
keys alt+F4   # the scan window closes unasked once saved
sleep 1
xdotool windowactivate --sync "$main" 2>/dev/null || true
keys alt+F4   # "Are you sure you want to exit?"
sleep 1
keys Return   # Yes
sleep 1
import -window root "$out/splash.png" && echo "screenshot splash.png"
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.2; done
kill -0 $app 2>/dev/null && echo "the program is still running" >&2
unzip -l "$out/backup.zip" || echo "no archive" >&2
cat "$out/run/Settings.ini"
