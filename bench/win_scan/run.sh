#!/usr/bin/env bash
# Compares the Windows scan window with the Windows command line on one tree under Wine, warm
# cache, both exclusion switches off, and reports the window's longest stall and its memory with
# a million rows. Run by hand from a windows-cross build configured with -DTARNWICK_BENCH=ON:
#
#   bench/win_scan/run.sh [BUILD_DIR] [TREE_DIR]
#
# The tree (100,000 matches, about 200,000 files; the same as bench/gui_scan's) is made once in
# TREE_DIR and kept. The window runs on a virtual X display (cmake/wine-run-gui), the command line
# without one (cmake/wine-run), each in the prefix its tests use (a prefix whose Wine server was
# started without a display cannot show windows). RUNS=N sets the number of timed runs.
# Goals: the window's scan within 1.5 x the command line's, no stall over 100 ms, under 300 MB
# resident with 1,000,000 rows. The window's scan is timed inside its program (from the window
# shown to the summary painted), the command line's as its whole process: Wine's start of a
# windowed program (about 2 s: display driver, desktop, fonts) comes before the user presses GO
# and is printed apart.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$here/../..
build=${1:-$repo/build/windows-cross}
tree=${2:-/tmp/tarnwick-gui-scan-tree}
build=$(cd "$build" && pwd)
cli=$build/src/cli/tarnwick-cli.exe
bench=$build/bench/win_scan/tarnwick-win-scan-bench.exe
patterns=$(grep '^extensions=' "$repo/resources/Settings.ini" | cut -d= -f2 | tr -d '\r')
wintree="Z:$(echo "$tree" | tr / '\\')"
runs=${RUNS:-3}

[ -d "$tree" ] || python3 "$repo/bench/gui_scan/make_tree.py" "$tree" 100000
cli_scan() {
  "$repo/cmake/wine-run" "$build/wineprefix" "$cli" scan "$wintree" --patterns "$patterns" \
    --no-ignore-temp --no-ignore-sys </dev/null >/dev/null 2>&1
}
gui() { "$repo/cmake/wine-run-gui" "$build/wineprefix-gui" "$bench" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
now_ms() { date +%s%N | awk '{printf "%.1f", $1/1e6}'; }

echo "load before: $(uptime)"
cli_scan # warm the cache and the prefix
gui rows 10 >/dev/null
cli_ms=() gui_ms=() scan_ms=() gap_ms=()
for _ in $(seq $runs); do
  t0=$(now_ms)
  cli_scan
  t1=$(now_ms)
  cli_ms+=("$(echo "$t1 - $t0" | bc)")
  t0=$(now_ms)
  out=$(gui scan "$wintree" --patterns "$patterns")
  t1=$(now_ms)
  gui_ms+=("$(echo "$t1 - $t0" | bc)")
  scan_ms+=("$(echo "$out" | awk '$1=="scan_ms"{print $2}')")
  gap_ms+=("$(echo "$out" | awk '$1=="longest_gap_ms"{print $2}')")
done
echo "$out" | grep -E '^(rows|scanned|walk_ms) '
cli=$(printf '%s\n' "${cli_ms[@]}" | median)
win=$(printf '%s\n' "${gui_ms[@]}" | median)
scan=$(printf '%s\n' "${scan_ms[@]}" | median)
echo "cli_scan_ms (whole process, median of $runs): $cli"
echo "window_scan_ms (window shown to summary painted, median of $runs): $scan"
echo "window_process_ms (whole process, Wine's start of a windowed program included): $win"
echo "ratio window scan/cli process: $(echo "scale=2; $scan / $cli" | bc)"
echo "window_longest_gap_ms (worst of $runs): $(printf '%s\n' "${gap_ms[@]}" | sort -n | tail -1)"
echo "--- one million rows in the window:"
gui rows 1000000 | grep -E '^(rows|walk_ms|longest_gap_ms|rss_kb|peak_rss_kb) '
echo "load after: $(uptime)"
