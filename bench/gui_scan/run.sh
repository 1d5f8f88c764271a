#!/usr/bin/env bash
# Compares the scan window with the command line on one tree, warm cache, both exclusion switches
# off, and reports the window's longest time without event processing and its memory with a
# million rows. Run by hand from a build configured with -DTARNWICK_BENCH=ON:
#
#   bench/gui_scan/run.sh [BUILD_DIR] [TREE_DIR]
#
# The tree (100,000 matches, about 200,000 files) is made once in TREE_DIR and kept. The window
# runs on a virtual X display (xvfb-run), as a user would see it; set QT_QPA_PLATFORM=offscreen
# to leave X out.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/default}
tree=${2:-/tmp/tarnwick-gui-scan-tree}
cli=$build/src/cli/tarnwick-cli
bench=$build/bench/gui_scan/tarnwick-gui-scan-bench
patterns=$(grep '^extensions=' "$here/../../resources/Settings.ini" | cut -d= -f2 | tr -d '\r')
runs=5

[ -d "$tree" ] || python3 "$here/make_tree.py" "$tree" 100000
gui() {
  if [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then "$bench" "$@"; else
    xvfb-run -a -s "-screen 0 1280x800x24" "$bench" "$@" 2>/dev/null; fi
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
now_ms() { date +%s%N | awk '{printf "%.1f", $1/1e6}'; }

# Warm the cache.
"$cli" scan "$tree" --patterns "$patterns" --no-ignore-temp --no-ignore-sys >/dev/null 2>&1

cli_ms=() gui_ms=() gap_ms=()
for _ in $(seq $runs); do
  t0=$(now_ms)
  "$cli" scan "$tree" --patterns "$patterns" --no-ignore-temp --no-ignore-sys >/dev/null 2>&1
  t1=$(now_ms)
  cli_ms+=("$(echo "$t1 - $t0" | bc)")
  out=$(gui scan "$tree" --patterns "$patterns")
  gui_ms+=("$(echo "$out" | awk '$1=="walk_ms"{print $2}')")
  gap_ms+=("$(echo "$out" | awk '$1=="longest_gap_ms"{print $2}')")
done
echo "$out" | grep -E '^(rows|scanned) '
echo "cli_scan_ms (whole process, median of $runs): $(printf '%s\n' "${cli_ms[@]}" | median)"
echo "gui_scan_ms (walk in the window, median of $runs): $(printf '%s\n' "${gui_ms[@]}" | median)"
echo "gui_longest_gap_ms (worst of $runs): $(printf '%s\n' "${gap_ms[@]}" | sort -n | tail -1)"
echo "--- one million rows in the window:"
gui rows 1000000 | grep -E '^(rows|walk_ms|longest_gap_ms|rss_kb|peak_rss_kb) '
